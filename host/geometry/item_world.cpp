#include "host/geometry/item_world.h"

#include <unordered_set>

namespace host {

RigidTransform itemWorldTransform(const Layout& layout, LWItemID item, double time) {
    RigidTransform world;
    std::unordered_set<LWItemID> seen;
    for (const Item* at = layout.scene.find(item); at && seen.insert(at->id).second; at = layout.scene.find(at->parent)) {
        double position[3], rotation[3];
        layout.itemParam(at->id, LWIP_POSITION, time, position);
        layout.itemParam(at->id, LWIP_ROTATION, time, rotation);
        RigidTransform local;
        local.rotation = rotationFromHPB(rotation[0], rotation[1], rotation[2]);
        local.translation = {position[0], position[1], position[2]};
        world = compose(world, local);
    }
    return world;
}

}  // namespace host
