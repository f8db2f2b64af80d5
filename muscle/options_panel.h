// The muscle options panel, served as "ItemMotionInterface" "Sinewrig": edits
// one muscle bone's reference item, preserve volume, after IK and muscle
// controls in place, and binds the rest pose again when the artist confirms.
#pragma once

#include "abi/lw_host.h"

namespace sinewrig {

// Accepts interface version 4 only; any other leaves `local` untouched.
int activateMuscleOptions(int version, GlobalFunc* global, void* local, void* serverData);

// The LWInterface options function for a handler instance: "" without the
// panel service, otherwise null.
LWError openMuscleOptions(LWInstance instance);

}  // namespace sinewrig
