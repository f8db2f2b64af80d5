// The muscle bones of a Layout session: the bones ReadMuscle applied the
// module's motion handler to, with what the road learns of each.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/sinewrig/road/layout_session.h"

namespace sinewrig_tool {

struct MuscleBone {
    std::string name;
    LWItemID bone = nullptr;
    std::optional<std::string> reference;  // the reference item's name, when it has one
    LWItemID referenceItem = nullptr;
    int colour = -1;                        // the item colour ReadMuscle gave it
    double stretchMin = 0, stretchMax = 0;  // the limits its options panel was given (0: none)
    double influence = 1;                   // the share of the aim its options panel was given
    bool shortestTurn = false;              // its options panel was given the shortest turn
    // Its largest spin about its own length axis from one evaluated frame to
    // the next (degrees), and the frame it came at.
    double largestSpin = 0;
    int largestSpinFrame = 0;
    // The smallest and largest length scale it took over the evaluated frames.
    double shortestStretch = 1, longestStretch = 1;

    // Set to stop short of its target on purpose: a stretch limit, or only part of the aim.
    bool heldBack() const { return stretchMin > 0 || stretchMax > 0 || influence < 1; }
};

// In the order the handler's instances were applied, each bone once.
std::vector<MuscleBone> muscleBones(const LayoutSession& session);

}  // namespace sinewrig_tool
