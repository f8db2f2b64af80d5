// An item motion handler activated with the host's version into the
// stand-in's zeroed tables, then its instances driven through a stand-in
// Layout as the host drives them: created on two items, copied, described,
// asked for their items and flags, saved and loaded, evaluated for a few
// frames and destroyed. A callback the module left null is listed, never called.
#pragma once

#include <string>

#include "host/layout/layout.h"
#include "host/process/module_file.h"
#include "tools/sinewrig/check/report.h"

namespace sinewrig_tool {

void checkMotionHandler(CheckReport& report, host::Layout& layout, const host::ModuleFile& module,
                        const std::string& server);

}  // namespace sinewrig_tool
