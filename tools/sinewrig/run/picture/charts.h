// The picture's charts over the frames: each muscle's length scale, and its
// spin about its own length axis from frame to frame; for many muscles, the
// band of their spread.
#pragma once

#include "tools/sinewrig/road/road.h"
#include "tools/sinewrig/run/picture/canvas.h"

namespace sinewrig_tool {

constexpr double kLengthChartHeight = 320, kSpinChartHeight = 260;

// Each from `top` down.
void drawLengthChart(Svg& svg, const RoadResult& road, double top);
void drawSpinChart(Svg& svg, const RoadResult& road, double top);

}  // namespace sinewrig_tool
