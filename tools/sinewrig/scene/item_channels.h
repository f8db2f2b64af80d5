// Every item's nine channels at a frame, as the host's item info gives them
// once the motion handlers have evaluated it: in the parent's axes, in the
// order a scene keeps them (position x y z, heading pitch bank in radians,
// scale x y z).
#pragma once

#include <array>
#include <vector>

#include "host/layout/layout.h"

namespace sinewrig_tool {

using ItemChannels = std::array<double, 9>;

// One entry per item of `items`, in their order, into `out`.
void readItemChannels(const host::Layout& layout, const std::vector<LWItemID>& items, double time,
                      std::vector<ItemChannels>& out);

}  // namespace sinewrig_tool
