#include "tools/sinewrig/check/panels.h"

namespace sinewrig_tool {

namespace {

// More than any module here opens in one call; one opened beyond these is
// still a Cancel, and listed as misuse.
constexpr int kCancels = 16;

}  // namespace

void cancelEveryPanel(host::PanelServices& panels) {
    for (int i = 0; i < kCancels; ++i) panels.queue(host::pressCancel());
}

int panelsOpened(const host::PanelServices& panels) {
    int opened = 0;
    for (const auto& panel : panels.panels) opened += static_cast<int>(panel->openFlags.size());
    return opened;
}

void reportMisuse(CheckReport& report, const std::vector<std::string>& problems, const std::string& where) {
    for (const std::string& problem : problems) report.fail(where + ": " + problem);
    if (problems.empty()) report.pass(where + ": no misuse of the stand-in's services");
}

}  // namespace sinewrig_tool
