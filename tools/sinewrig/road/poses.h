// The bones of a Layout session at a frame, for drawing: where each lies in
// the world, how it is scaled and rolled, and where a muscle's target is.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/geometry/rigid_transform.h"
#include "host/layout/layout.h"
#include "tools/sinewrig/road/targets.h"

namespace sinewrig_tool {

struct BonePose {
    std::string name;
    bool muscle = false;
    int colour = -1;
    host::Vector3 pivot{}, tip{};         // in the world, the tip as the bone is scaled
    double thickness = 1, thicknessY = 1;  // the bone's x and y scale: a muscle that keeps its volume thickens
    host::Vector3 side{}, up{};           // in the world, the bone's own +X and +Y: how it is rolled about its length
    std::optional<host::Vector3> target;  // muscles with a reference: where the rest tip has moved with it
};

struct PoseSample {
    int frame = 0;
    std::vector<BonePose> bones;
};

// Muscle index by bone, for the drawing.
using MuscleIndex = std::unordered_map<LWItemID, std::size_t>;

// Every bone of the scene; `targets` by muscle index.
PoseSample poseAt(const host::Layout& layout, const MuscleIndex& muscleOf, const std::vector<Target>& targets,
                  int frame, double time);

}  // namespace sinewrig_tool
