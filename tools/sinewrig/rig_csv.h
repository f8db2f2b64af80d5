// The muscle channels of every frame as CSV: one row per frame and muscle bone.
#pragma once

#include <string>

#include "tools/sinewrig/rig_road.h"

namespace sinewrig_tool {

std::string muscleChannelsCsv(const RoadResult& road);

}  // namespace sinewrig_tool
