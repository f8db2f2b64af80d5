// Walking an item's parent chain without recursion, so chains of any depth fit
// the host's stack, and without running forever when a scene's parents loop.
#pragma once

#include <cstdint>

#include "abi/lw_host.h"

namespace sinewrig {

// Calls visit(item) for the item and then each ancestor up to the root, asking
// parent() after each visit. A chain that loops back is cut after its last
// distinct item, which then counts as the root; the cut is found only after the
// loop has been entered, so restart() is called to undo the visits made so far
// and the distinct items are visited again from the start.
template <class Visit, class Restart>
void walkParentChain(LWItemID item, const LWItemInfo& info, Visit visit, Restart restart) {
    // Brent's cycle detection on the chain as it is walked: no extra host
    // queries and no memory for chains that end.
    LWItemID tortoise = item;
    std::uint64_t power = 1, lambda = 0;
    for (LWItemID current = item;;) {
        visit(current);
        LWItemID next = info.parent(current);
        ++lambda;
        if (!next) return;
        if (next == tortoise) break;
        if (power == lambda) {
            tortoise = next;
            power *= 2;
            lambda = 0;
        }
        current = next;
    }

    // Looping chain of cycle length lambda: find where the loop starts.
    LWItemID lead = item;
    for (std::uint64_t i = 0; i < lambda; ++i) lead = info.parent(lead);
    std::uint64_t start = 0;
    for (LWItemID trail = item; trail != lead; ++start) {
        trail = info.parent(trail);
        lead = info.parent(lead);
    }

    restart();
    LWItemID current = item;
    for (std::uint64_t i = 0, distinct = start + lambda; i < distinct; ++i) {
        visit(current);
        if (i + 1 < distinct) current = info.parent(current);
    }
}

}  // namespace sinewrig
