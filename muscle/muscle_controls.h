// The muscle's shaping controls beyond preserve volume and after IK: which
// axes thin, how much it bulges, how far it stretches, how strongly it acts
// and how it aims. At the defaults a muscle behaves exactly as one without them.
#pragma once

#include "format/control_values.h"

namespace sinewrig {

struct MuscleControls {
    unsigned char volumeAxes = kDefaultVolumeAxes;
    double bulge = kBulgeRange.byDefault;
    double stretchMin = kStretchRange.byDefault;
    double stretchMax = kStretchRange.byDefault;
    double influence = kInfluenceRange.byDefault;
    unsigned char aim = kDefaultAim;
};

bool operator==(const MuscleControls& a, const MuscleControls& b);
bool atDefaults(const MuscleControls& controls);
// Every control but the aim at its default: the scale comes out as without controls.
bool shapingAtDefaults(const MuscleControls& controls);

// Each value brought into its range and to single precision (as the scene
// keeps it); one that is not a finite number takes its default, and an aim
// other than the shortest turn is heading and pitch.
MuscleControls withinRange(const MuscleControls& controls);

}  // namespace sinewrig
