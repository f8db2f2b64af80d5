#include "math/item_transform.h"

#include "math/parent_chain.h"

namespace sinewrig {

Matrix4 itemWorldMatrix(LWItemID item, const LWItemInfo* info, LWTime time) {
    Matrix4 world;
    if (!item || !info) return world;
    // Each level multiplies on the right, so applying its rotation and
    // translation in place to the running product equals local * parentWorld.
    walkParentChain(
        item, *info,
        [&](LWItemID level) {
            LWDVector rot = {0, 0, 0}, pos = {0, 0, 0};
            info->param(level, LWIP_ROTATION, time, rot);
            world.rotateHPB(rot[0], rot[1], rot[2]);
            info->param(level, LWIP_POSITION, time, pos);
            world.translate(pos[0], pos[1], pos[2]);
        },
        [&] { world.setIdentity(); });
    return world;
}

Matrix4 itemInverseWorldMatrix(LWItemID item, const LWItemInfo* info, LWTime time) {
    Matrix4 inverse;
    if (!item || !info) return inverse;
    walkParentChain(
        item, *info,
        [&](LWItemID level) {
            LWDVector pos = {0, 0, 0}, rot = {0, 0, 0};
            Matrix4 local;
            info->param(level, LWIP_POSITION, time, pos);
            local.translate(pos[0] * -1.0, pos[1] * -1.0, pos[2] * -1.0);
            info->param(level, LWIP_ROTATION, time, rot);
            local.rotateY(rot[0] * -1.0);
            local.rotateX(rot[1] * -1.0);
            local.rotateZ(rot[2] * -1.0);
            inverse = multiply(local, inverse);
        },
        [&] { inverse.setIdentity(); });
    return inverse;
}

}  // namespace sinewrig
