// Item numbers as the host's scenes give them, which are the items' LWItemIDs:
// the kind in the top hex digit (1 object, 2 light, 3 camera, 4 bone), then
// the item's ordinal within its kind counted from 0; a bone's is 4BBBOOOO,
// bone BBB of object OOOO. A scene may give an item its number (baked), so
// numbers can have gaps; each number is held by one item.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "abi/lw_host.h"

namespace host {

class ItemNumbers {
public:
    // The kind digit of an item type: its LWItemType + 1.
    static std::uint32_t kindOf(LWItemType type);

    // Counts one more item of the type (a bone: of the object numbered
    // `object`, 0 for none) and gives the number the host counts for it; 0
    // when the count does not fit the form (more than FFF bones in an object,
    // an object past FFFF holding bones).
    std::uint32_t count(LWItemType type, std::uint32_t object);
    // The highest number of the type's kind that no item holds: the number of
    // an item whose counted one does not fit or is held already.
    std::uint32_t spare(LWItemType type);

    // Gives `number` to the item at `index`; false when it is 0 or held.
    bool hold(std::uint32_t number, std::size_t index);
    // The index of the item holding the number, or null.
    const std::size_t* find(std::uint32_t number) const;

private:
    std::array<std::uint32_t, 16> counts_{};                 // by kind; bones by object below
    std::unordered_map<std::uint32_t, std::uint32_t> bonesOf_;  // by the object's number
    std::array<std::uint32_t, 16> spareFrom_{};              // by kind: where the search for a spare goes on
    // Who holds each number, in open addressing: every host call of a frame
    // looks its item up here, and one probe into one array keeps a large
    // scene's lookups from chasing a node each.
    struct Holder {
        std::uint32_t number = 0;  // 0: a free slot
        std::size_t index = 0;
    };
    std::size_t slotOf(std::uint32_t number) const;
    void grow();
    std::vector<Holder> holders_;  // a power of two long, at most half full
    std::size_t held_ = 0;
};

}  // namespace host
