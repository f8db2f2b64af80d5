// Which bone each skelegon's bone hangs from. Layout parents a skelegon's
// bone by the host's rule (host/scene/skelegon_bones.h: the skelegon whose
// tip is exactly its pivot); a rig's "parent" names another skelegon of the
// layer instead, for a muscle that starts part-way along a bone, and the tool
// parents the bone so in Layout, keeping its rest pose.
#pragma once

#include <vector>

#include "tools/sinewrig/rig/rig.h"

namespace sinewrig_tool {

// By index into `rig.skelegons`, -1 for a bone of the object: as Layout makes
// the bones, loops broken as it breaks them.
std::vector<int> madeParents(const Rig& rig);

// `made` with each explicit parent in place of the made one.
std::vector<int> chosenParents(const Rig& rig, const std::vector<int>& made);

// Throws a FieldError at "skelegons[i].parent" for a parent that is no
// skelegon of the rig (naming the nearest), is on another layer, or closes a
// loop of parents.
void checkChosenParents(const Rig& rig);

}  // namespace sinewrig_tool
