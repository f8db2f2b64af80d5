// One muscle's scene data as the handler's save writes it: the six values,
// and after them the muscle controls' extension. Written out here, apart from
// the module's own description of the layout, so that a wrong constant there
// fails a test.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

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

// The number that opens the extension: "MSX1".
inline constexpr double kControlsMarker = 0x4D535831;

// The controls as the extension carries them, each at its default unless given.
struct ControlsExtension {
    float bulge = 1.0f;
    unsigned volumeAxes = 0;  // 0 X and Y, 1 X, 2 Y
    float stretchMin = 0.0f, stretchMax = 0.0f, influence = 1.0f;
    std::optional<unsigned> aim = std::nullopt;  // the byte after them, which the shortest turn (1) alone writes
};

inline host::SceneData controlsSceneData(const ControlsExtension& c) {
    host::SceneData data = {{"U4", {kControlsMarker}},  {"FP", {c.bulge}},      {"U1", {double(c.volumeAxes)}},
                            {"FP", {c.stretchMin}},     {"FP", {c.stretchMax}}, {"FP", {c.influence}}};
    if (c.aim) data.push_back({"U1", {double(*c.aim)}});
    return data;
}

// The six values followed by the extension.
inline host::SceneData withControls(host::SceneData data, const ControlsExtension& controls) {
    const host::SceneData extension = controlsSceneData(controls);
    data.insert(data.end(), extension.begin(), extension.end());
    return data;
}
