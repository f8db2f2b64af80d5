// ReadMuscle, the Layout command ("LayoutGeneric") that turns the tagged
// skelegon bones of the selected object into muscles: it records each in the
// muscle registry, colours it and applies the motion handler to it.
#pragma once

#include "abi/lw_host.h"

namespace sinewrig {

// Runs the whole command. AFUNC_BADVERSION for any version but 2,
// AFUNC_BADGLOBAL when a host service is missing, AFUNC_OK otherwise.
int ReadMuscle(int version, GlobalFunc* global, void* local, void* serverData);

}  // namespace sinewrig
