// The muscle channels of every frame as CSV: one row per frame and muscle
// bone, written as the frames are evaluated.
#pragma once

#include <string>
#include <vector>

#include "tools/sinewrig/road/channels.h"
#include "tools/sinewrig/road/muscle_bones.h"

namespace sinewrig_tool {

std::string muscleChannelsCsvHeader();
// The frame's rows, appended to `csv`.
void appendMuscleChannelsCsv(std::string& csv, const std::vector<MuscleBone>& muscles, const FrameSample& frame);

}  // namespace sinewrig_tool
