// The muscle choices `sinewrig tag` applies: {"muscles": [...]}, entries as
// in a rig file's "muscles" (rig/muscle_entries.h) but with what SetMuscle
// tags only, checked against the skelegons of one layer.
#pragma once

#include <string>
#include <vector>

#include "tools/sinewrig/rig/object_skelegons.h"
#include "tools/sinewrig/rig/rig.h"

namespace sinewrig_tool {

// False with `error` naming the file and the field when the file cannot be
// read, is not such a list, or names a skelegon `layer` does not hold once.
bool loadMuscleChoices(const std::string& path, const ObjectLayer& layer, std::vector<RigMuscle>& muscles,
                       std::string& error);

}  // namespace sinewrig_tool
