// What Layout makes of a rig's skelegons that the artist most likely did not
// mean: a bone with no length, which no muscle can aim; skelegons that end in
// each other, where Layout leaves one without a parent bone to break the
// loop; and a pivot a hair off another skelegon's tip (within 1e-4 of that
// one's length), which Layout, parenting only by a tip exactly on the pivot,
// leaves hanging from the object.
#pragma once

#include <string>
#include <vector>

#include "tools/sinewrig/rig/rig.h"

namespace sinewrig_tool {

// Appends a warning per such skelegon and loop.
void warnAboutSkelegons(const Rig& rig, std::vector<std::string>& warnings);

}  // namespace sinewrig_tool
