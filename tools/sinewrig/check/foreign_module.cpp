#include "tools/sinewrig/check/foreign_module.h"

#include <vector>

#include "tools/sinewrig/common/module_headers.h"

namespace sinewrig_tool {

namespace {

// A long export list is cut: the report is for reading.
std::string namesText(const std::vector<std::string>& names) {
    constexpr std::size_t kShown = 40;
    if (names.empty()) return "none";
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < kShown; ++i) text += (i ? " " : "") + names[i];
    if (names.size() > kShown) text += " ... and " + std::to_string(names.size() - kShown) + " more";
    return text;
}

std::string systemName(const ModuleKind& kind) {
    return kind.system == ModuleKind::System::Windows ? "a Windows module" : "a Linux module";
}

}  // namespace

int reportForeignModule(CheckReport& report, Console console, const std::string& path, const ModuleKind& kind) {
    const std::string what = kindAndHost(kind);
    report.info(what);
    report.info("exports: " + namesText(kind.exports));
    report.info("imports: " + namesText(kind.imports));
    for (const std::string& problem : kind.problems) report.fail(problem);
    std::string cutShort;
    if (!headersFitFile(path, cutShort)) report.fail(cutShort);
    const std::string command = fullCheckCommand(kind, path);
    const std::string remedy = command.empty() ? "no build of this project can load it"
                                               : "to check it fully, run the matching build's tool: " + command;
    report.info("not loaded: " + modulesLoadedHere() + "; " + remedy);
    console.err << "sinewrig check: " << path << ": " << what << "; " << modulesLoadedHere() << "; " << remedy << std::endl;
    const std::string reason = systemName(kind) + ", not loaded here";
    if (report.failures() == 0)
        console.out << "verdict: NOT CHECKED (" << reason << ")" << std::endl;
    else
        console.out << "verdict: FAIL (" << report.failures() << " failed; " << reason << ")" << std::endl;
    return kExitBadInput;
}

}  // namespace sinewrig_tool
