#include "muscle/muscle_controls.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace sinewrig {

namespace {

// Held to what the scene's single-precision values keep, so that a muscle
// loaded from a saved scene moves exactly as it did before the save.
double clampOr(double value, double low, double high, double fallback) {
    return std::isfinite(value) ? double(float(std::clamp(value, low, high))) : fallback;
}

}  // namespace

bool operator==(const MuscleControls& a, const MuscleControls& b) {
    return a.volumeAxes == b.volumeAxes && a.bulge == b.bulge && a.stretchMin == b.stretchMin &&
           a.stretchMax == b.stretchMax && a.influence == b.influence && a.aim == b.aim;
}

bool atDefaults(const MuscleControls& controls) { return controls == MuscleControls{}; }

bool shapingAtDefaults(const MuscleControls& controls) {
    MuscleControls shaping = controls;
    shaping.aim = kAimHeadingPitch;
    return atDefaults(shaping);
}

MuscleControls withinRange(const MuscleControls& given) {
    const MuscleControls defaults;
    const double most = FLT_MAX;
    MuscleControls controls;
    controls.volumeAxes = std::min<unsigned char>(given.volumeAxes, kVolumeAxesY);
    controls.bulge = clampOr(given.bulge, 0.0, kMostBulge, defaults.bulge);
    controls.stretchMin = clampOr(given.stretchMin, 0.0, most, defaults.stretchMin);
    controls.stretchMax = clampOr(given.stretchMax, 0.0, most, defaults.stretchMax);
    controls.influence = clampOr(given.influence, 0.0, 1.0, defaults.influence);
    controls.aim = given.aim == kAimShortestTurn ? kAimShortestTurn : kAimHeadingPitch;
    return controls;
}

}  // namespace sinewrig
