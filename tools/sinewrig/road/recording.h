// The first pass over the frames, in the Layout session the rig was built
// in: each frame's muscle channels go into the round trip's spool and to the
// caller as they come, and what the report and the picture need is taken on
// the way (spins, misses, poses, plots); no frame is kept.
#pragma once

#include <functional>

#include "tools/sinewrig/road/frame_pass.h"
#include "tools/sinewrig/road/road.h"
#include "tools/sinewrig/road/spool.h"

namespace sinewrig_tool {

// Fills the spins of `result.muscles`, its farthest miss, poses and plots.
// False when the spool cannot be written.
bool recordFrames(LayoutSession& session, const FramePass& pass, const FrameSink& sink, ChannelSpool& spool,
                  RoadResult& result);

}  // namespace sinewrig_tool
