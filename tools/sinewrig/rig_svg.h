// A picture of a rig's road: front and side views of its bones at a few
// frames, muscle bones in their item colour with their targets marked, and a
// plot of each muscle's length scale over the frames. Labelled in place, so
// it needs no legend.
#pragma once

#include <string>

#include "tools/sinewrig/road/road.h"

namespace sinewrig_tool {

std::string rigSvg(const std::string& title, const RoadResult& road);

}  // namespace sinewrig_tool
