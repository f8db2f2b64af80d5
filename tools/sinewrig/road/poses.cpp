#include "tools/sinewrig/road/poses.h"

#include "host/geometry/item_world.h"
#include "host/text/cp932.h"

namespace sinewrig_tool {

PoseSample poseAt(const host::Layout& layout, const MuscleIndex& muscleOf, const std::vector<Target>& targets,
                  int frame, double time) {
    PoseSample pose;
    pose.frame = frame;
    for (const host::Item& item : layout.scene.items()) {
        if (item.type != LWI_BONE) continue;
        BonePose bone;
        bone.name = host::utf8FromCp932(item.name);
        bone.colour = item.colour;
        const host::RigidTransform world = host::itemWorldTransform(layout, item.id, time);
        double scale[3];
        layout.itemParam(item.id, LWIP_SCALING, time, scale);
        bone.pivot = world.translation;
        bone.tip = host::apply(world, {0, 0, item.restLength * scale[2]});
        bone.thickness = scale[0];
        bone.thicknessY = scale[1];
        bone.side = host::rotate({1, 0, 0}, world.rotation);
        bone.up = host::rotate({0, 1, 0}, world.rotation);
        if (auto found = muscleOf.find(item.id); found != muscleOf.end()) {
            bone.muscle = true;
            const Target& target = targets[found->second];
            if (target.reference) bone.target = targetAt(layout, target, time);
        }
        pose.bones.push_back(bone);
    }
    return pose;
}

}  // namespace sinewrig_tool
