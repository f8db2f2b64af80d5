// A muscle bone's motion at one time: aimed at the rest tip point as it moves
// with the reference item, and stretched along +Z to reach it.
#pragma once

#include "muscle/handler_instance.h"

namespace sinewrig {

// The handler's evaluate callback. Allocates nothing.
void evaluateMuscle(LWInstance instance, const LWItemMotionAccess* access);

}  // namespace sinewrig
