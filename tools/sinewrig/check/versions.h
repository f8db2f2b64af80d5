// A server must refuse every version the host does not offer it, and then
// leave its local record exactly as the host filled it.
#pragma once

#include "abi/lw_host.h"
#include "tools/sinewrig/check/report.h"
#include "tools/sinewrig/check/server_classes.h"

namespace sinewrig_tool {

// Activates the server with other versions (0 to 8, -1, 100 and the ends of
// int) into a local record filled with one byte pattern, with guard bytes
// after it; for a motion handler its function records are so filled too. One
// PASS line when every version is refused untouched, else a FAIL per version.
void checkRefusedVersions(CheckReport& report, const ServerRecord& row, const ServerClass& known, void* serverData);

}  // namespace sinewrig_tool
