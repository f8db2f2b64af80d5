// Rest binding: where the bone's tip is at time 0, held in the reference item's
// frame, so that evaluation can move it with the reference.
#pragma once

#include "muscle/handler_instance.h"
#include "muscle/muscle_registry.h"

namespace sinewrig {

// With an item and a registry the instance is first re-attached to that item's
// record, when there is one. Then the record's rest length and rest tip point
// are computed from the host at time 0 and its needs-rebind flag is cleared.
void bindRest(HandlerInstance& instance, LWItemID item, MuscleRegistry* registry);

}  // namespace sinewrig
