// What Layout makes of a rig's skelegons that the artist most likely did not
// mean: a bone with no length, which no muscle can aim, and skelegons that
// end in each other, where Layout leaves one without a parent bone to break
// the loop.
#pragma once

#include <string>
#include <vector>

#include "tools/sinewrig/rig/rig.h"

namespace sinewrig_tool {

// Appends a warning per such skelegon and loop.
void warnAboutSkelegons(const Rig& rig, std::vector<std::string>& warnings);

}  // namespace sinewrig_tool
