// How far a bone spins about its own length axis from one frame to the next:
// the twist about +Z of the turn between its two rotations, taken in its own
// axes (the swing that moves the length axis left out).
#pragma once

#include "host/geometry/rigid_transform.h"

namespace sinewrig_tool {

// In degrees, from 0 to 180; rotations as the host's row-vector matrices.
double spinAboutLength(const host::Rotation3& before, const host::Rotation3& after);

// Muscles that spin more than this in one frame are named in the report.
inline constexpr double kSpinWorthNaming = 10.0;

}  // namespace sinewrig_tool
