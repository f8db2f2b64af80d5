// Swinging a bone onto a direction by the smallest rotation that carries its
// forward axis there, so that it never spins about its own length.
#pragma once

#include "math/rotation3.h"

namespace sinewrig {

// `own` turned after itself by `share` (0 to 1) of the smallest rotation that
// takes its forward axis (row 2) onto the unit vector `direction`: about the
// axis forward x direction, right-handed. A direction within 1e-12 radians of
// straight behind the bone is reached by a half turn about the bone's own Y
// axis (row 1). With the whole turn the forward axis is `direction` itself.
Rotation3 turnedTowards(const Rotation3& own, const Vec3& direction, double share);

}  // namespace sinewrig
