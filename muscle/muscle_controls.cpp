#include "muscle/muscle_controls.h"

#include <algorithm>
#include <cmath>

namespace sinewrig {

namespace {

// Held to what the scene's single-precision values keep, so that a muscle
// loaded from a saved scene moves exactly as it did before the save.
double within(double value, const ControlRange& range) {
    return std::isfinite(value) ? double(float(std::clamp(value, range.least, range.most))) : range.byDefault;
}

}  // namespace

bool operator==(const MuscleControls& a, const MuscleControls& b) {
    return a.volumeAxes == b.volumeAxes && a.bulge == b.bulge && a.stretchMin == b.stretchMin &&
           a.stretchMax == b.stretchMax && a.influence == b.influence && a.aim == b.aim;
}

bool atDefaults(const MuscleControls& controls) { return controls == MuscleControls{}; }

bool shapingAtDefaults(const MuscleControls& controls) {
    MuscleControls shaping = controls;
    shaping.aim = kDefaultAim;
    return atDefaults(shaping);
}

MuscleControls withinRange(const MuscleControls& given) {
    MuscleControls controls;
    controls.volumeAxes = std::min<unsigned char>(given.volumeAxes, kVolumeAxesY);
    controls.bulge = within(given.bulge, kBulgeRange);
    controls.stretchMin = within(given.stretchMin, kStretchRange);
    controls.stretchMax = within(given.stretchMax, kStretchRange);
    controls.influence = within(given.influence, kInfluenceRange);
    controls.aim = given.aim == kAimShortestTurn ? kAimShortestTurn : kAimHeadingPitch;
    return controls;
}

}  // namespace sinewrig
