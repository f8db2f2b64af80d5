// A picture of a rig's road: two views of its bones at a few frames, muscle
// bones in their item colour with their targets marked, and charts of each
// muscle's length scale and spin over the frames. Labelled in place, so it
// needs no legend.
#pragma once

#include <string>

#include "tools/sinewrig/road/road.h"

namespace sinewrig_tool {

std::string rigSvg(const std::string& title, const RoadResult& road);

}  // namespace sinewrig_tool
