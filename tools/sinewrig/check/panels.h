// The artist the checker plays: every panel a module opens is cancelled. And
// what the stand-in saw go wrong while the module ran.
#pragma once

#include <string>
#include <vector>

#include "host/panels/panels.h"
#include "tools/sinewrig/check/report.h"

namespace sinewrig_tool {

// Queues a Cancel for each panel the module may open, nested ones included.
void cancelEveryPanel(host::PanelServices& panels);
int panelsOpened(const host::PanelServices& panels);

// A FAIL per misuse the stand-in saw, or a PASS saying there was none.
void reportMisuse(CheckReport& report, const std::vector<std::string>& problems, const std::string& where);

}  // namespace sinewrig_tool
