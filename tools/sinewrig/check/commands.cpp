#include "tools/sinewrig/check/commands.h"

#include <optional>

#include "tools/sinewrig/check/panels.h"
#include "tools/sinewrig/check/server_classes.h"

namespace sinewrig_tool {

namespace {

void reportCommandResult(CheckReport& report, int result, int version, const std::string& where) {
    const std::string what = "activation with version " + std::to_string(version) + " " + where + ": " +
                             activationResult(result);
    if (result == AFUNC_OK || result == AFUNC_BADGLOBAL)
        report.info(what);
    else if (result == AFUNC_BADVERSION)
        report.fail(what + ": refuses the host's version");
    else
        report.fail(what + ": not a result the host knows");
}

std::string lines(const std::optional<std::string>& line1, const std::optional<std::string>& line2) {
    return quotedText(line1 ? line1->c_str() : nullptr) + " " + quotedText(line2 ? line2->c_str() : nullptr);
}

}  // namespace

void checkCommandSequence(CheckReport& report, host::Modeler& modeler, const host::ModuleFile& module,
                          const ServerRecord& row) {
    modeler.makeActive();
    cancelEveryPanel(modeler.panels);
    const int version = knownServerClass(row.className)->hostVersion;
    const int result = row.activate(version, host::Services::global(), &modeler.command, module.serverData());
    reportCommandResult(report, result, version, "in an empty Modeler, every panel cancelled");
    report.info("panels opened: " + std::to_string(panelsOpened(modeler.panels)) +
                ", mesh edits begun: " + std::to_string(modeler.edits.size()));
    std::size_t open = 0;
    for (const auto& edit : modeler.edits) open += edit->ended() ? 0 : 1;
    report.check(open == 0, open == 0 ? "every mesh edit it began was ended with done"
                                      : std::to_string(open) + " mesh edits were never ended with done");
    reportMisuse(report, modeler.panels.problems, "panels");
}

void checkLayoutGeneric(CheckReport& report, host::Layout& layout, const host::ModuleFile& module,
                        const ServerRecord& row) {
    layout.makeActive();
    cancelEveryPanel(layout.panels);
    const int version = knownServerClass(row.className)->hostVersion;
    const int result = row.activate(version, host::Services::global(), layout.generic(), module.serverData());
    reportCommandResult(report, result, version, "in an empty Layout with nothing selected");
    report.info("panels opened: " + std::to_string(panelsOpened(layout.panels)) +
                ", Layout commands issued: " + std::to_string(layout.commands.size()));
    for (const host::InfoMessage& message : layout.messages)
        report.info("showed " + message.kind + " " + lines(message.line1, message.line2));
    reportMisuse(report, layout.problems(), "Layout");
}

}  // namespace sinewrig_tool
