#include "math/item_transform.h"

#include "math/parent_chain.h"

namespace sinewrig {

namespace {

enum class Asks { RotationFirst, PositionFirst };

// The item's local transform relative to its parent, asked in the given order.
template <Asks order>
RigidTransform localTransform(LWItemID item, const LWItemInfo& info, LWTime time) {
    LWDVector rot = {0, 0, 0}, pos = {0, 0, 0};
    if constexpr (order == Asks::RotationFirst) info.param(item, LWIP_ROTATION, time, rot);
    info.param(item, LWIP_POSITION, time, pos);
    if constexpr (order == Asks::PositionFirst) info.param(item, LWIP_ROTATION, time, rot);
    return {rotationHPB(rot[0], rot[1], rot[2]), vec3From(pos)};
}

// local * parent's local * ... up to the root. The first level is taken as it
// is rather than multiplied onto an identity.
template <Asks order>
RigidTransform worldTransform(LWItemID item, const LWItemInfo* info, LWTime time) {
    RigidTransform world;
    if (!item || !info) return world;
    bool first = true;
    walkParentChain(
        item, *info,
        [&](LWItemID level) {
            const RigidTransform local = localTransform<order>(level, *info, time);
            world = first ? local : world * local;
            first = false;
        },
        [&] { first = true; });
    return world;
}

}  // namespace

RigidTransform itemWorldTransform(LWItemID item, const LWItemInfo* info, LWTime time) {
    return worldTransform<Asks::RotationFirst>(item, info, time);
}

Matrix4 itemWorldMatrix(LWItemID item, const LWItemInfo* info, LWTime time) {
    return toMatrix4(itemWorldTransform(item, info, time));
}

Vec3 itemToWorld(LWItemID item, const LWItemInfo* info, LWTime time, const Vec3& point) {
    Vec3 p = point;
    if (!item || !info) return p;
    walkParentChain(
        item, *info,
        [&](LWItemID level) { p = transformPoint(localTransform<Asks::RotationFirst>(level, *info, time), p); },
        [&] { p = point; });
    return p;
}

RigidTransform itemInverseWorldTransform(LWItemID item, const LWItemInfo* info, LWTime time) {
    // Accumulated forwards and inverted once: a rigid transform's inverse is its
    // transposed rotation with the translation turned back and negated.
    return inverse(worldTransform<Asks::PositionFirst>(item, info, time));
}

Matrix4 itemInverseWorldMatrix(LWItemID item, const LWItemInfo* info, LWTime time) {
    return toMatrix4(itemInverseWorldTransform(item, info, time));
}

}  // namespace sinewrig
