#include "items/item_transform.h"

#include "items/parent_chain.h"

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

// The item's local transform as the host reports it, but not turned: its
// rotation is handed back instead, and costs no sines.
RigidTransform unturnedLocalTransform(LWItemID item, const LWItemInfo& info, LWTime time, double rotation[3]) {
    LWDVector pos = {0, 0, 0};
    info.param(item, LWIP_POSITION, time, pos);
    rotation[0] = rotation[1] = rotation[2] = 0.0;
    info.param(item, LWIP_ROTATION, time, rotation);
    return {Rotation3{}, vec3From(pos)};
}

// local * parent's local * ... up to the root. The first level is taken as it
// is rather than multiplied onto an identity; with `ownRotation` it is taken
// unturned and its rotation handed back there.
template <Asks order>
RigidTransform worldTransform(LWItemID item, const LWItemInfo* info, LWTime time, double* ownRotation = nullptr) {
    RigidTransform world;
    if (!item || !info) return world;
    bool first = true;
    walkParentChain(
        item, *info,
        [&](LWItemID level) {
            if (first && ownRotation) {
                world = unturnedLocalTransform(level, *info, time, ownRotation);
            } else {
                const RigidTransform local = localTransform<order>(level, *info, time);
                world = first ? local : world * local;
            }
            first = false;
        },
        [&] { first = true; });
    return world;
}

}  // namespace

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

RigidTransform itemInversePivotTransform(LWItemID item, const LWItemInfo* info, LWTime time, double ownRotation[3]) {
    ownRotation[0] = ownRotation[1] = ownRotation[2] = 0.0;
    return inverse(worldTransform<Asks::PositionFirst>(item, info, time, ownRotation));
}

}  // namespace sinewrig
