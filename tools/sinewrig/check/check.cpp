#include "tools/sinewrig/check/check.h"

#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <variant>
#include <vector>

#include "host/layout/layout.h"
#include "host/modeler/modeler.h"
#include "host/process/module_file.h"
#include "host/process/module_probe.h"
#include "tools/sinewrig/check/child_process.h"
#include "tools/sinewrig/check/commands.h"
#include "tools/sinewrig/check/foreign_module.h"
#include "tools/sinewrig/common/module_kind.h"
#include "tools/sinewrig/check/motion/handler.h"
#include "tools/sinewrig/check/motion/interface.h"
#include "tools/sinewrig/check/report.h"
#include "tools/sinewrig/check/server_classes.h"
#include "tools/sinewrig/check/services.h"
#include "tools/sinewrig/check/versions.h"
#include "tools/sinewrig/common/module_headers.h"

namespace sinewrig_tool {

namespace {

// A bare file name means the file in the current folder; given as it is, the
// library loader would look for it in its own folders instead.
std::string loadablePath(const std::string& path) {
    if (path.find_first_of("/\\") != std::string::npos) return path;
#if defined(_WIN32)
    return ".\\" + path;
#else
    return "./" + path;
#endif
}

// False when the host would refuse the file for its descriptor.
bool reportDescriptor(CheckReport& report, const host::ModuleProbe& probe) {
    report.pass("opens as a library");
    report.check(probe.hasDescriptor, probe.hasDescriptor ? "exports _mod_descrip" : "exports no _mod_descrip");
    bool accepted = probe.hasDescriptor;
    for (const host::DescriptorCheck& check : probe.checks) {
        if (check.passed)
            report.pass(check.what + " " + check.found);
        else if (check.required)
            report.fail(check.reason);
        else
            report.info(check.what + " " + check.found + " (not required on this system)");
        accepted = accepted && (check.passed || !check.required);
    }
    return accepted;
}

// The rows of the server table; a row the host could not use is a failure and left out.
std::vector<ServerListed> listServers(CheckReport& report, const host::ModuleFile& module) {
    report.heading("servers");
    std::vector<ServerListed> rows;
    std::set<std::pair<std::string, std::string>> seen;
    const std::vector<const ServerRecord*> table = module.servers();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ServerRecord& row = *table[i];
        const std::string what = "row " + std::to_string(i + 1) + ": " + quotedText(row.className) + " " +
                                 quotedText(row.name);
        if (!row.name) {
            report.fail(what + " has no name");
        } else if (!row.activate) {
            report.fail(what + " has no activation function");
        } else if (!seen.insert({row.className, row.name}).second) {
            report.fail(what + " is listed twice; the host uses only the first");
        } else {
            report.info(std::string(row.className) + " " + row.name +
                        (knownServerClass(row.className) ? "" : " (a class the checker does not know)"));
            rows.push_back({row.className, row.name});
        }
    }
    if (table.empty()) report.fail("the server table is empty");
    return rows;
}

// Each server in a fresh stand-in host process: the host programs, and the
// module file loaded anew, so no server sees what another left behind.
void checkServer(CheckReport& report, const std::string& path, const ServerListed& server) {
    report.heading(server.className + " " + server.name);
    const std::optional<ServerClass> known = knownServerClass(server.className);
    if (!known) {
        report.info("not probed");
        return;
    }
    host::Layout layout;
    host::Modeler modeler;
    std::string error;
    const std::unique_ptr<host::ModuleFile> module = host::ModuleFile::load(path, error);
    if (!module) {
        report.fail(error);
        return;
    }
    const ServerRecord* found = module->findServer(server.className, server.name);
    if (!found || !found->activate) {
        report.fail("the first row of this server has no activation function");
        return;
    }
    const ServerRecord& row = *found;
    checkRefusedVersions(report, row, *known, module->serverData());
    const std::string& name = server.className;
    if (name == "CommandSequence") checkCommandSequence(report, modeler, *module, row);
    if (name == "LayoutGeneric") checkLayoutGeneric(report, layout, *module, row);
    if (name == "ItemMotionHandler") checkMotionHandler(report, layout, *module, server.name);
    if (name == "ItemMotionInterface") checkMotionInterface(report, layout, *module, server.name);
    reportLookups(report, {{&modeler.services, 0}, {&layout.services, 0}});
}

}  // namespace

int checkModule(const CheckOptions& options, Console console) {
    const std::string path = loadablePath(options.plugin);
    CheckReport report(console.out);
    report.heading("module file " + path);
    // A module of another system is described from its headers, not handed
    // to a loader that can only say it is no library of this one.
    if (ModuleKind kind; readModuleKindOfFile(path, kind) && !loadableHere(kind))
        return reportForeignModule(report, console, options.plugin, kind);
    // A file cut short would be mapped and then fault where it is missing.
    std::string cutShort;
    if (!headersFitFile(path, cutShort)) {
        console.err << "sinewrig check: " << options.plugin << ": " << cutShort << std::endl;
        report.fail(cutShort + "; refused before loading");
        console.out << "verdict: FAIL (the file cannot be loaded)" << std::endl;
        return kExitBadInput;
    }

    // The descriptor and the server table, read in a child process too:
    // startup is the module's own code.
    const StepEnd table = runStep(report, "loading the module", [&](CheckReport& child, StepMessages& messages) {
        const host::ModuleProbe probe = host::probeModuleFile(path);
        if (!probe.error.empty()) {
            messages.send(ModuleUnloadable{probe.error});
            return;
        }
        if (!reportDescriptor(child, probe)) return;
        std::string error;
        const std::unique_ptr<host::ModuleFile> module = host::ModuleFile::load(path, error);
        child.check(module != nullptr, module ? "startup gave its server data" : error);
        if (!module) return;
        if (!module->descriptor().shutdown) child.info("shutdown: null");
        for (const ServerListed& server : listServers(child, *module)) messages.send(server);
    });
    std::vector<ServerListed> servers;
    for (const StepMessage& message : table.messages) {
        if (const auto* unloadable = std::get_if<ModuleUnloadable>(&message)) {
            console.err << "sinewrig check: " << unloadable->reason << std::endl;
            console.out << "verdict: FAIL (the file cannot be loaded)" << std::endl;
            return kExitBadInput;
        }
        if (const auto* server = std::get_if<ServerListed>(&message)) servers.push_back(*server);
    }
    // Each server in a child process of its own: a fresh host, and a crash
    // in one does not stop the others being checked.
    for (const ServerListed& server : servers)
        runStep(report, server.className + " " + server.name,
                [&](CheckReport& child, StepMessages&) { checkServer(child, path, server); });
    return report.verdict();
}

}  // namespace sinewrig_tool
