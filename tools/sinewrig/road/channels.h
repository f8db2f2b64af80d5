// The muscle bones' motion channels at a frame, as the host reads them back
// after the motion handlers evaluated it.
#pragma once

#include <array>
#include <vector>

#include "tools/sinewrig/road/layout_session.h"
#include "tools/sinewrig/road/muscle_bones.h"

namespace sinewrig_tool {

// A muscle bone's motion at one frame: rotation (radians), scale, position.
using Channels = std::array<double, 9>;

struct FrameSample {
    int frame = 0;
    double time = 0;
    std::vector<Channels> muscles;  // in the order of the muscle bones
};

// Evaluates `frame` at `fps` and reads every muscle's channels into `sample`.
void sampleFrame(LayoutSession& session, const std::vector<MuscleBone>& muscles, int frame, double fps,
                 FrameSample& sample);

}  // namespace sinewrig_tool
