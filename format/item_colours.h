// The host's item colours by name, as COLR tags hold them; a name's index is
// the number the host's "ItemColor" command takes.
#pragma once

#include <cstring>
#include <iterator>

namespace sinewrig {

inline constexpr const char* kItemColourNames[] = {
    "Black", "DkBlue", "DkGrn", "DkCyan", "DkRed", "Purple", "Brown", "Gray",
    "Blue",  "Green",  "Cyan",  "Red",    "Magen", "Orang",  "White",
};

// The colour number of a name, matched exactly and case-sensitively; -1 for
// null or a name not in the table.
inline int itemColourIndex(const char* name) {
    if (!name) return -1;
    for (int index = 0; index < static_cast<int>(std::size(kItemColourNames)); ++index)
        if (std::strcmp(name, kItemColourNames[index]) == 0) return index;
    return -1;
}

}  // namespace sinewrig
