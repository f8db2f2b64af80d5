// A pass over a rig's frames: which frames, at what rate, and who is told
// how far it is.
#pragma once

#include <functional>
#include <vector>

#include "tools/sinewrig/rig/rig.h"

namespace sinewrig_tool {

// Told how far a phase of the road is: "SetMuscle", "evaluating", ...; `done`
// of `total` steps (0 of 1 as a phase starts, `total` of `total` as it ends).
using Progress = std::function<void(const char* phase, long done, long total)>;

struct FramePass {
    FrameRange frames;
    double fps = 30;
    Progress progress;  // may be empty
    std::vector<int> drawn;  // the frames whose poses are kept for drawing, ascending; none: a few across the range

    int frameAt(long done) const { return frames.start + int(done) * frames.step; }
    void announce(const char* phase, long done, long total) const {
        if (progress) progress(phase, done, total);
    }
};

}  // namespace sinewrig_tool
