// `check` given a module this build cannot load (a Windows DLL to the Linux
// tool, say): what the file is, what it exports and imports, and the
// command that checks it fully.
#pragma once

#include <string>

#include "tools/sinewrig/common/module_kind.h"
#include "tools/sinewrig/check/report.h"
#include "tools/sinewrig/console.h"

namespace sinewrig_tool {

// Reports `kind`, read from the file `path`; gives kExitBadInput, since
// nothing of the module could be exercised here. The verdict says so:
// "verdict: NOT CHECKED (...)", or a FAIL when its headers have faults.
int reportForeignModule(CheckReport& report, Console console, const std::string& path, const ModuleKind& kind);

}  // namespace sinewrig_tool
