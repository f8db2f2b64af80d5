#include "tools/sinewrig/road/targets.h"

#include <cmath>

#include "host/geometry/item_world.h"

namespace sinewrig_tool {

namespace {

double distance(const host::Vector3& a, const host::Vector3& b) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

}  // namespace

Target restTarget(const host::Layout& layout, const MuscleBone& muscle) {
    Target target;
    if (!muscle.referenceItem || !layout.scene.find(muscle.referenceItem) || !layout.scene.find(muscle.bone)) return target;
    target.reference = muscle.referenceItem;
    const host::Vector3 tip = host::apply(host::itemWorldTransform(layout, muscle.bone, 0.0),
                                          {0, 0, layout.scene.find(muscle.bone)->restLength});
    target.inReference = host::apply(host::inverse(host::itemWorldTransform(layout, target.reference, 0.0)), tip);
    return target;
}

host::Vector3 targetAt(const host::Layout& layout, const Target& target, double time) {
    return host::apply(host::itemWorldTransform(layout, target.reference, time), target.inReference);
}

double missedBy(const host::Layout& layout, const MuscleBone& muscle, const Target& target, double time) {
    if (!target.reference) return 0;
    const host::Item* item = layout.scene.find(muscle.bone);
    if (!item) return 0;
    double scale[3];
    layout.itemParam(muscle.bone, LWIP_SCALING, time, scale);
    const host::Vector3 tip = host::apply(host::itemWorldTransform(layout, muscle.bone, time), {0, 0, item->restLength * scale[2]});
    return distance(tip, targetAt(layout, target, time));
}

}  // namespace sinewrig_tool
