// The picture's views of the bones: the two in which the rig spreads widest,
// each at a few frames across the range, muscle bones in their item colour
// with a colour of their own, their roll and their targets marked.
#pragma once

#include "tools/sinewrig/road/road.h"
#include "tools/sinewrig/run/picture/canvas.h"

namespace sinewrig_tool {

// The height of one row of views; two rows are drawn.
constexpr double kViewHeight = 240;

// Both rows of views, from `top` down.
void drawViews(Svg& svg, const RoadResult& road, double top);

}  // namespace sinewrig_tool
