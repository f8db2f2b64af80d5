// Where an item stands in the world at a time, as the stand-in Layout sees
// it: its motion (the handlers' result where they ran) composed up its parent
// chain, rigidly (scale and pivots aside), a looping chain taken once round.
#pragma once

#include "host/layout/layout.h"
#include "host/geometry/rigid_transform.h"

namespace host {

RigidTransform itemWorldTransform(const Layout& layout, LWItemID item, double time);

}  // namespace host
