#include "muscle/evaluate_muscle.h"

#include <cmath>
#include <cstring>

#include "items/item_transform.h"
#include "muscle/muscle_registry.h"
#include "muscle/rest_binding.h"

namespace sinewrig {

namespace {

bool isFinite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
bool isFinite(const double v[3]) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

bool sameBits(const double a[3], const double b[3]) { return std::memcmp(a, b, 3 * sizeof(double)) == 0; }

}  // namespace

void evaluateMuscle(LWInstance handle, const LWItemMotionAccess* access) {
    auto* instance = static_cast<HandlerInstance*>(handle);
    if (!instance || !access || !instance->record) return;
    if (needsRebind(*instance->record)) bindRest(*instance, access->item, currentMuscleRegistry());
    MuscleRecord& record = *instance->record;
    setMuscleBone(record, access->item);
    if (!record.reference) return;

    Vec3 target = itemToWorld(record.reference, instance->itemInfo, access->time, record.restTip);
    LWDVector own;
    target = transformPoint(itemInversePivotTransform(record.bone, instance->itemInfo, access->time, own), target);

    // The target seen from the bone's pivot along its parent's axes: turned
    // back by the bone's own rotation and forward by its motion's, which
    // cancel when the motion is the rotation the item reports.
    LWDVector rotation = {0.0, 0.0, 0.0};
    access->getParam(LWIP_ROTATION, access->time, rotation);
    if (!sameBits(own, rotation))
        target = target * (transposed(rotationHPB(own[0], own[1], own[2])) * rotationHPB(rotation[0], rotation[1], rotation[2]));
    // Only a host that reports non-finite motion makes the target non-finite;
    // its bone is then handed back the motion it came with.
    const bool aimable = isFinite(target);
    if (aimable) aimAngles(target, rotation);
    const double distance = vectorLength(target);

    LWDVector scale = {1.0, 1.0, 1.0};
    access->getParam(LWIP_SCALING, access->time, scale);
    // A scale that is not a finite number would poison the scene, so without a
    // usable rest length, or with the target on the pivot, the motion's own
    // factors stay.
    const double stretch = distance / record.restLength;
    if (aimable && record.restLength > 0.0 && std::isfinite(record.restLength) && std::isfinite(stretch)) {
        scale[2] = stretch;
        const double thinning = std::sqrt(1.0 / stretch);
        if (record.preserveVolume && std::isfinite(thinning)) scale[0] = scale[1] = thinning;
    }

    // What the host gave as no finite number (a bank, a scale factor) is not
    // handed back: the scene keeps its own motion there rather than NaN.
    if (isFinite(rotation)) access->setParam(LWIP_ROTATION, rotation);
    if (isFinite(scale)) access->setParam(LWIP_SCALING, scale);
}

}  // namespace sinewrig
