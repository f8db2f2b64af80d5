// The motion handler's scene data, one instance's values in the order the
// handler writes and reads them, with no header or version: six values, then,
// only for a muscle whose controls are not all at their defaults, a marker and
// the controls (control_values.h).
#pragma once

namespace sinewrig {

// The pair of host scene functions a value goes through (writeU1 / readU1 ...).
enum class SceneValueType : unsigned char { kU1, kU4, kFP };

struct SceneValue {
    const char* name;
    SceneValueType type;
    int count;  // numbers in the one call
};

inline constexpr SceneValue kMuscleSceneValues[] = {
    {"bone", SceneValueType::kU4, 1},            // the item's 32-bit number
    {"reference", SceneValueType::kU4, 1},       // 0: none
    {"preserveVolume", SceneValueType::kU1, 1},  // written as 0 or 1; any but 0 reads as on
    {"afterIK", SceneValueType::kU1, 1},         // as preserveVolume
    {"restLength", SceneValueType::kFP, 1},
    {"restTip", SceneValueType::kFP, 3},         // x, y, z, in the reference item's frame
};

inline constexpr unsigned int kControlsMarker = 0x4D535831;  // "MSX1"

// After the six values: without the marker, every control is at its default.
inline constexpr SceneValue kControlsSceneValues[] = {
    {"marker", SceneValueType::kU4, 1},  // kControlsMarker
    {"bulge", SceneValueType::kFP, 1},
    {"volumeAxes", SceneValueType::kU1, 1},
    {"stretchMin", SceneValueType::kFP, 1},
    {"stretchMax", SceneValueType::kFP, 1},
    {"influence", SceneValueType::kFP, 1},
    // Written only for kAimShortestTurn, so a scene without it reads as heading
    // and pitch, as scenes from before the aim do.
    {"aim", SceneValueType::kU1, 1},
};

}  // namespace sinewrig
