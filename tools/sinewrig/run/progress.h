// How far a run is, on standard error: on a terminal a line redrawn in place
// a few times a second; otherwise, as in a log, a line when a phase starts
// and every few seconds while it runs.
#pragma once

#include "tools/sinewrig/console.h"
#include "tools/sinewrig/road/frame_pass.h"

namespace sinewrig_tool {

Progress progressOn(Console console);

}  // namespace sinewrig_tool
