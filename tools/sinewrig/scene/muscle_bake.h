// The muscles' motion gathered as keys, one per evaluated frame and channel,
// for the scene writer to put in place of their plug-in blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "host/lws/write_scene.h"
#include "tools/sinewrig/scene/item_channels.h"

namespace sinewrig_tool {

class MuscleBake {
public:
    // `muscles`: each muscle's item number and its index among the items read each frame.
    struct Muscle {
        std::uint32_t number;
        std::size_t item;
    };
    explicit MuscleBake(const std::vector<Muscle>& muscles, std::size_t frames);

    // A key at `time` (seconds) for each muscle's nine channels, out of every item's.
    void add(double time, const std::vector<ItemChannels>& items);
    // The keys, handed over whole: a large bake is not copied.
    std::vector<host::lws::ItemBake> take() { return std::move(bakes_); }

private:
    std::vector<std::size_t> items_;
    std::vector<host::lws::ItemBake> bakes_;
};

}  // namespace sinewrig_tool
