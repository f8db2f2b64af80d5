// Where a muscle's tip should be: its rest tip, carried from time 0 by its
// reference's motion, as the stand-in sees it; and how far the tip misses it.
#pragma once

#include "host/geometry/rigid_transform.h"
#include "host/layout/layout.h"
#include "tools/sinewrig/road/muscle_bones.h"

namespace sinewrig_tool {

struct Target {
    LWItemID reference = nullptr;  // none: the muscle has no target
    host::Vector3 inReference{};
};

Target restTarget(const host::Layout& layout, const MuscleBone& muscle);

// Where the target is in the world at `time`.
host::Vector3 targetAt(const host::Layout& layout, const Target& target, double time);

// How far the muscle's tip is from its target at `time`; 0 without one.
double missedBy(const host::Layout& layout, const MuscleBone& muscle, const Target& target, double time);

}  // namespace sinewrig_tool
