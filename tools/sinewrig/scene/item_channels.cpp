#include "tools/sinewrig/scene/item_channels.h"

namespace sinewrig_tool {

void readItemChannels(const host::Layout& layout, const std::vector<LWItemID>& items, double time,
                      std::vector<ItemChannels>& out) {
    out.resize(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        layout.itemParam(items[i], LWIP_POSITION, time, &out[i][0]);
        layout.itemParam(items[i], LWIP_ROTATION, time, &out[i][3]);
        layout.itemParam(items[i], LWIP_SCALING, time, &out[i][6]);
    }
}

}  // namespace sinewrig_tool
