// The pass over the frames of the reloaded scene, in a fresh host: each
// frame's muscle channels against those the first pass spooled, bit for bit.
#pragma once

#include <cstddef>
#include <vector>

#include "tools/sinewrig/road/frame_pass.h"
#include "tools/sinewrig/road/layout_session.h"
#include "tools/sinewrig/road/muscle_bones.h"
#include "tools/sinewrig/road/spool.h"

namespace sinewrig_tool {

// Adds to `differences` each channel value that is not the spooled one bit
// for bit. False when the spool cannot be read back.
bool compareFrames(LayoutSession& session, const FramePass& pass, const std::vector<MuscleBone>& muscles,
                   ChannelSpool& spool, std::size_t& differences);

}  // namespace sinewrig_tool
