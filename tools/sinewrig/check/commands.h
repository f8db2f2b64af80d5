// The two command classes run once with the host's version in an empty
// stand-in: Modeler with no object, Layout with nothing in it and nothing
// selected, every panel cancelled. Either may say it had nothing to do
// (AFUNC_OK or AFUNC_BADGLOBAL); refusing the host's version is a fault.
#pragma once

#include "host/layout/layout.h"
#include "host/modeler/modeler.h"
#include "host/process/module_file.h"
#include "tools/sinewrig/check/report.h"

namespace sinewrig_tool {

void checkCommandSequence(CheckReport& report, host::Modeler& modeler, const host::ModuleFile& module,
                          const ServerRecord& row);
void checkLayoutGeneric(CheckReport& report, host::Layout& layout, const host::ModuleFile& module,
                        const ServerRecord& row);

}  // namespace sinewrig_tool
