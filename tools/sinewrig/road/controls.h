// The muscle controls a rig gives, set as an artist sets them: the bone's
// options panel opened in Layout, its popups and number fields filled, OK.
#pragma once

#include <string>
#include <vector>

#include "tools/sinewrig/rig/rig.h"
#include "tools/sinewrig/road/frame_pass.h"
#include "tools/sinewrig/road/layout_session.h"
#include "tools/sinewrig/road/muscle_bones.h"

namespace sinewrig_tool {

// Only for the muscles whose controls are not all at their defaults; notes
// the limits and the aim on `muscles`, and says on `pass` how far it is.
// False with `error` when a panel did not take them.
bool setMuscleControls(const Rig& rig, LayoutSession& session, const FramePass& pass, std::vector<MuscleBone>& muscles,
                       std::string& error);

}  // namespace sinewrig_tool
