// An item motion interface activated with the host's version into a zeroed
// record, then, when the module has the motion handler of the same name, the
// options of one of its instances opened as the host opens them, every panel
// cancelled: cancelling must leave the instance's saved settings as they were,
// and a null options is never called.
#pragma once

#include <string>

#include "host/layout/layout.h"
#include "host/process/module_file.h"
#include "tools/sinewrig/check/report.h"

namespace sinewrig_tool {

void checkMotionInterface(CheckReport& report, host::Layout& layout, const host::ModuleFile& module,
                        const std::string& server);

}  // namespace sinewrig_tool
