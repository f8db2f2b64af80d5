#include "muscle/evaluate_muscle.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "items/item_transform.h"
#include "math/shortest_turn.h"
#include "muscle/muscle_registry.h"
#include "muscle/rest_binding.h"

namespace sinewrig {

namespace {

bool isFinite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
bool isFinite(const double v[3]) { return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]); }

bool sameBits(const double a[3], const double b[3]) { return std::memcmp(a, b, 3 * sizeof(double)) == 0; }

// The length scale within the muscle's limits (the maximum wins where they
// cross), and the cross-section thinned by (1/z)^bulge on the chosen axes.
void shapeMuscle(const MuscleRecord& record, double stretch, double scale[3]) {
    const MuscleControls& controls = record.controls;
    double z = std::max(stretch, controls.stretchMin);
    if (controls.stretchMax > 0.0) z = std::min(z, controls.stretchMax);
    scale[2] = z;
    if (!record.preserveVolume) return;
    const double thinning = std::pow(1.0 / z, controls.bulge);
    if (!std::isfinite(thinning)) return;
    switch (controls.volumeAxes) {
        case kVolumeAxesX: scale[0] = thinning; break;
        case kVolumeAxesY: scale[1] = thinning; break;
        default: scale[0] = scale[1] = std::sqrt(thinning); break;
    }
}

constexpr double kFullTurn = 2 * std::numbers::pi;

// Heading and pitch moved from the motion's towards the muscle's the short way
// round; bank stays as the motion gave it.
void blendAnglesWithMotion(double influence, const double motionRotation[3], double rotation[3]) {
    if (influence == 1.0) return;
    for (int angle = 0; angle < 2; ++angle)
        rotation[angle] = motionRotation[angle] +
                          influence * std::remainder(rotation[angle] - motionRotation[angle], kFullTurn);
}

void blendScaleWithMotion(double influence, const double motionScale[3], double scale[3]) {
    if (influence == 1.0) return;
    for (int axis = 0; axis < 3; ++axis) scale[axis] = motionScale[axis] + influence * (scale[axis] - motionScale[axis]);
}

// The motion's rotation swung by `share` of the smallest turn that points it
// at the target; at the pivot there is nothing to turn towards.
void swingTowards(const Vec3& target, double distance, double share, double rotation[3]) {
    const Vec3 direction = unitVector(target, distance);
    if (share == 0.0 || (direction.x == 0.0 && direction.y == 0.0 && direction.z == 0.0)) return;
    const Rotation3 own = rotationHPB(rotation[0], rotation[1], rotation[2]);
    anglesHPB(turnedTowards(own, direction, share), rotation[0], rotation);
}

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
    const LWDVector motionRotation = {rotation[0], rotation[1], rotation[2]};
    // Only a host that reports non-finite motion makes the target non-finite;
    // its bone is then handed back the motion it came with.
    const bool aimable = isFinite(target);
    const double distance = vectorLength(target);
    const MuscleControls& controls = record.controls;
    const bool swung = controls.aim == kAimShortestTurn;
    if (aimable) {
        if (swung)
            swingTowards(target, distance, controls.influence, rotation);
        else
            aimAngles(target, rotation);
    }

    LWDVector scale = {1.0, 1.0, 1.0};
    access->getParam(LWIP_SCALING, access->time, scale);
    const LWDVector motionScale = {scale[0], scale[1], scale[2]};
    // A scale that is not a finite number would poison the scene, so without a
    // usable rest length, or with the target on the pivot, the motion's own
    // factors stay.
    const double stretch = distance / record.restLength;
    const bool plain = shapingAtDefaults(controls);  // the arithmetic of a muscle without controls, to the bit
    if (aimable && record.restLength > 0.0 && std::isfinite(record.restLength) && std::isfinite(stretch)) {
        if (plain) {
            scale[2] = stretch;
            const double thinning = std::sqrt(1.0 / stretch);
            if (record.preserveVolume && std::isfinite(thinning)) scale[0] = scale[1] = thinning;
        } else {
            shapeMuscle(record, stretch, scale);
        }
    }
    if (!plain) {
        // The swing took its share of the turn itself.
        if (!swung) blendAnglesWithMotion(controls.influence, motionRotation, rotation);
        blendScaleWithMotion(controls.influence, motionScale, scale);
    }

    // What the host gave as no finite number (a bank, a scale factor) is not
    // handed back: the scene keeps its own motion there rather than NaN.
    if (isFinite(rotation)) access->setParam(LWIP_ROTATION, rotation);
    if (isFinite(scale)) access->setParam(LWIP_SCALING, scale);
}

}  // namespace sinewrig
