#include "commands/colour_names.h"

#include <cstring>
#include <iterator>

namespace sinewrig {

namespace {

constexpr const char* kColourNames[] = {
    "Black", "DkBlue", "DkGrn", "DkCyan", "DkRed", "Purple", "Brown", "Gray",
    "Blue",  "Green",  "Cyan",  "Red",    "Magen", "Orang",  "White",
};

}  // namespace

int colourIndexOf(const char* name) {
    if (!name) return -1;
    for (int index = 0; index < static_cast<int>(std::size(kColourNames)); ++index)
        if (std::strcmp(name, kColourNames[index]) == 0) return index;
    return -1;
}

}  // namespace sinewrig
