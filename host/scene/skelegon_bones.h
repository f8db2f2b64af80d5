// Bones made from an object's skelegons, as Layout makes them: one bone per
// skelegon (a BONE polygon, pivot then tip), named by its PART tag. A
// skelegon whose pivot is another's tip becomes that one's child; the others
// are children of the object. Each bone rests at its pivot, aimed along the
// skelegon with no bank, as long as the skelegon.
#pragma once

#include <vector>

#include "host/scene/scene.h"

namespace host {

// The bones in skelegon order; none for an item without a mesh.
std::vector<LWItemID> makeSkelegonBones(Scene& scene, LWItemID object);

}  // namespace host
