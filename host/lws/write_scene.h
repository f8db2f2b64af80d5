// Writing a read scene back: every line stays as the file had it, byte for
// byte and in place, except what the writer is asked to regenerate.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "host/layout/motion_handlers.h"
#include "host/lws/scene_text.h"

namespace host::lws {

struct BakedKey {
    double time;  // seconds
    double value;
};

// One item's motion as keys: its Sinewrig blocks go and its nine channels
// (position x y z, heading pitch bank in radians, scale x y z) become
// envelopes of these keys, linear spans (type 3) with `Behaviors 1 1`.
struct ItemBake {
    std::uint32_t item = 0;  // the item's number
    std::array<std::vector<BakedKey>, 9> channels;
};

struct SceneChanges {
    // When given, each Sinewrig block's body (the lines between `Plugin` and
    // `EndPlugin`) is what its instance's save writes through a text-mode
    // LWSaveState, indented as the block sits. The k-th block under an item
    // belongs to the k-th Sinewrig instance applied to it; a block without one
    // stays as read.
    const MotionHandlers* handlers = nullptr;
    std::vector<ItemBake> bakes;
};

// Writes the scene with the changes. Nothing is written, and `error` says
// why, when a bake names no item of the scene, names one twice, or has keys
// that are not finite or not in time order. Without changes the output is the
// file as read.
bool writeScene(const SceneText& scene, const SceneChanges& changes, std::ostream& out, std::string& error);

// Appends a `Channel i` line and its envelope of linear keys, each line
// begun with `indent` and ended with `lineEnd`, as the writer bakes them.
void appendBakedChannel(std::string& out, int channel, const std::vector<BakedKey>& keys, const std::string& indent,
                        const std::string& lineEnd);

}  // namespace host::lws
