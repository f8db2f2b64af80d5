// SetMuscle, the Modeler command ("CommandSequence") that tags the selected
// skelegons of the primary layer as muscles.
#pragma once

#include "abi/lw_host.h"

namespace sinewrig {

// Runs the whole command. AFUNC_BADVERSION for any version but 3,
// AFUNC_BADGLOBAL when the mesh edit cannot begin, AFUNC_OK otherwise
// (confirmed or cancelled alike).
int SetMuscle(int version, GlobalFunc* global, void* local, void* serverData);

}  // namespace sinewrig
