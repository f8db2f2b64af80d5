#include "tools/sinewrig/scene/muscle_bake.h"

namespace sinewrig_tool {

MuscleBake::MuscleBake(const std::vector<Muscle>& muscles, std::size_t frames) {
    for (const Muscle& muscle : muscles) {
        items_.push_back(muscle.item);
        host::lws::ItemBake& bake = bakes_.emplace_back();
        bake.item = muscle.number;
        for (auto& keys : bake.channels) keys.reserve(frames);
    }
}

void MuscleBake::add(double time, const std::vector<ItemChannels>& items) {
    for (std::size_t m = 0; m < bakes_.size(); ++m)
        for (int c = 0; c < 9; ++c) bakes_[m].channels[c].push_back({time, items[items_[m]][c]});
}

}  // namespace sinewrig_tool
