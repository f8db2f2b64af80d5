// The reference chooser: a small modal panel with one popup of all skelegons
// of the primary layer, opened from a click in the reference column.
#pragma once

#include "abi/lw_host.h"
#include "set_muscle/muscle_assignment.h"

namespace sinewrig {

// The chosen skelegon, or 0 when the artist cancelled or no panel could be shown.
LWPolID chooseReference(MuscleAssignment& assignment, GlobalFunc* global);

}  // namespace sinewrig
