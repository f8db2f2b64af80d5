// World transforms of host items, built from the positions and rotations that
// "LW Item Info 3" reports relative to each parent. Scale and pivots are not
// read: the transforms are rigid.
#pragma once

#include "math/rigid_transform.h"
#include "abi/lw_host.h"

namespace sinewrig {

// Takes a point from the item's own frame to world space, carried up the chain
// level by level. Asks the host, item by item: rotation, position, parent.
Vec3 itemToWorld(LWItemID item, const LWItemInfo* itemInfo, LWTime time, const Vec3& point);

// The inverse of the world transform: takes a world point into the item's own
// frame. Asks the host, item by item up the chain: position, rotation, parent.
RigidTransform itemInverseWorldTransform(LWItemID item, const LWItemInfo* itemInfo, LWTime time);

// The same with the item's own rotation left out: takes a world point into a
// frame at the item's pivot, turned as its parent is. The rotation the host
// reported for the item comes back in `ownRotation`. Same host queries.
RigidTransform itemInversePivotTransform(LWItemID item, const LWItemInfo* itemInfo, LWTime time,
                                         double ownRotation[3]);

}  // namespace sinewrig
