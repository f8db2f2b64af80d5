// The table of every frame's muscle channels the run's report prints: one
// row per frame and muscle bone, angles in degrees.
#pragma once

#include <string>
#include <vector>

#include "tools/sinewrig/road/channels.h"
#include "tools/sinewrig/road/muscle_bones.h"

namespace sinewrig_tool {

// `width`: of the bone column in display columns, the widest name's.
std::string tableHeader(std::size_t width);
void appendTableRows(std::string& out, std::size_t width, const std::vector<MuscleBone>& muscles,
                     const FrameSample& frame);

}  // namespace sinewrig_tool
