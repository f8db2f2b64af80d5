// Bones made from an object's skelegons, as Layout makes them: one bone per
// skelegon (a BONE polygon, pivot then tip), named by its PART tag. A
// skelegon whose pivot is another's tip becomes that one's child; the others
// are children of the object. Each bone rests at its pivot, aimed along the
// skelegon with no bank, as long as the skelegon.
#pragma once

#include <vector>

#include "host/geometry/rigid_transform.h"
#include "host/scene/scene.h"

namespace host {

// Who hangs from whom among the skelegons of one layer, given in scan order:
// a skelegon's parent is the first other skelegon whose tip is exactly its
// pivot; -1 when none is, and it hangs from the object.
std::vector<int> skelegonParents(const std::vector<Vector3>& pivots, const std::vector<Vector3>& tips);

// Skelegons that end in each other, where each would be another's parent:
// each loop once, its members from where a walk in scan order first met it,
// following their parents.
std::vector<std::vector<int>> parentLoops(const std::vector<int>& parents);

// The one of a loop whose bone Layout leaves without a parent bone, to break
// the loop: the last of them in scan order.
int loopBreak(const std::vector<int>& loop);

// The bones in skelegon order; none for an item without a mesh.
std::vector<LWItemID> makeSkelegonBones(Scene& scene, LWItemID object);

}  // namespace host
