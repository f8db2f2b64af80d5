// The six scene values of one muscle, as the handler's save writes them.
#pragma once

#include <array>
#include <cstdint>

#include "host/scene_file/scene_data.h"

inline host::SceneData muscleSceneData(LWItemID bone, LWItemID reference, unsigned preserveVolume = 0,
                                       unsigned afterIK = 1, float restLength = 1.0f,
                                       std::array<float, 3> tip = {0, 0, 0}) {
    return {{"U4", {double(reinterpret_cast<std::uintptr_t>(bone))}},
            {"U4", {double(reinterpret_cast<std::uintptr_t>(reference))}},
            {"U1", {double(preserveVolume)}},
            {"U1", {double(afterIK)}},
            {"FP", {restLength}},
            {"FP", {tip[0], tip[1], tip[2]}}};
}
