// The stand-in scene motion handlers are checked in: an object with a chain of
// two bones under it and a reference object, all with keyed motion.
#pragma once

#include <string>

#include "host/layout/layout.h"

namespace sinewrig_tool {

struct CheckScene {
    explicit CheckScene(host::Layout& layout);

    host::Layout& layout;
    LWItemID body, upper, lower, reference;

    // The item's name quoted, or its ID when the scene has no such item.
    std::string nameOf(LWItemID item) const;
};

}  // namespace sinewrig_tool
