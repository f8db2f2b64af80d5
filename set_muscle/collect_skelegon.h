// The polygon scan function of SetMuscle: gathers the primary layer's
// skelegons into a MuscleAssignment.
#pragma once

#include "abi/lw_host.h"

namespace sinewrig {

// `assignment` is the MuscleAssignment. Always EDERR_NONE, so every polygon is visited.
EDError collectSkelegon(void* assignment, const EDPolygonInfo* polygon);

}  // namespace sinewrig
