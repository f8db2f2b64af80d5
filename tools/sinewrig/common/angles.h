// Degrees, in which the artist writes and reads angles, and radians, in
// which the host holds them: the stand-in's, written once.
#pragma once

#include "host/geometry/angles.h"

namespace sinewrig_tool {

using host::degrees;
using host::kDegreesPerRadian;
using host::kRadiansPerDegree;
using host::radians;

}  // namespace sinewrig_tool
