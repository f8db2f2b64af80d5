// What a motion handler's instances hand the host: the values they save, and
// the motion they write while frames are evaluated.
#pragma once

#include <string>

#include "host/layout/motion_handlers.h"
#include "tools/sinewrig/check/report.h"
#include "tools/sinewrig/check/motion/scene.h"

namespace sinewrig_tool {

// Saves the instance, loads that into a fresh instance on the same item and
// saves that one: the two saves must be byte for byte the same, every value
// finite, and load must read each value as the type it was written.
void checkSaveLoadSave(CheckReport& report, const CheckScene& scene, host::MotionHandlers& handlers,
                       const std::string& server, LWInstance instance);

// Evaluates a few frames: every value given to setParam finite, and only for
// position, rotation or scaling.
void checkEvaluation(CheckReport& report, const CheckScene& scene, host::MotionHandlers& handlers);

}  // namespace sinewrig_tool
