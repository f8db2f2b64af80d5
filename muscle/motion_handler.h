// The item motion handler "Sinewrig": its activation and the callbacks it
// puts in the host's LWItemMotionHandler table.
#pragma once

#include "abi/lw_host.h"

namespace sinewrig {

// Accepts interface version 4 only; any other leaves `local` untouched.
int activateMotionHandler(int version, GlobalFunc* global, void* local, void* serverData);

// The global-lookup function the latest activation was given.
GlobalFunc* motionHandlerGlobal();

LWInstance createMuscleInstance(void* priv, void* context, LWError* error);
void destroyMuscleInstance(LWInstance instance);
LWError copyMuscleInstance(LWInstance to, LWInstance from);
LWError loadMuscleInstance(LWInstance instance, const LWLoadState* state);
LWError saveMuscleInstance(LWInstance instance, const LWSaveState* state);
const char* describeMuscleInstance(LWInstance instance);
const LWItemID* muscleUseItems(LWInstance instance);
void muscleChangeID(LWInstance instance, const LWItemID* idList);
unsigned int muscleFlags(LWInstance instance);

}  // namespace sinewrig
