// World matrices of host items, built from the positions and rotations that
// "LW Item Info 3" reports relative to each parent. Scale and pivots are not
// read: the matrices are rigid.
#pragma once

#include "math/matrix4.h"
#include "module/lw_host.h"

namespace sinewrig {

// Takes a point from the item's own frame to world space. Asks the host, item
// by item up the chain: rotation, position, parent.
Matrix4 itemWorldMatrix(LWItemID item, const LWItemInfo* itemInfo, LWTime time);

// The inverse of itemWorldMatrix, built from negated values. Asks the host,
// item by item up the chain: position, rotation, parent.
Matrix4 itemInverseWorldMatrix(LWItemID item, const LWItemInfo* itemInfo, LWTime time);

}  // namespace sinewrig
