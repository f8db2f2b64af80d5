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
    bool shortestTurn = false;              // its options panel was given the shortest turn
    // Its largest spin about its own length axis from one evaluated frame to
    // the next (degrees), and the frame it came at.
    double largestSpin = 0;
    int largestSpinFrame = 0;
};

// In the order the handler's instances were applied, each bone once.
std::vector<MuscleBone> muscleBones(const LayoutSession& session);

}  // namespace sinewrig_tool
