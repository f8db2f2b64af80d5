// The muscle's shaping controls beyond preserve volume and after IK: which
// axes thin, how much it bulges, how far it stretches and how strongly it
// acts. At the defaults a muscle behaves exactly as one without them.
#pragma once

namespace sinewrig {

enum VolumeAxes : unsigned char { kVolumeAxesXY = 0, kVolumeAxesX = 1, kVolumeAxesY = 2 };

// How the bone is turned onto its target: heading and pitch taken from the
// direction (bank left as the motion gave it), or the motion's own rotation
// swung by the smallest turn, which never spins the bone about its length.
enum Aim : unsigned char { kAimHeadingPitch = 0, kAimShortestTurn = 1 };

struct MuscleControls {
    unsigned char volumeAxes = kVolumeAxesXY;  // the cross-section axes that thin with preserve volume
    double bulge = 1.0;       // exponent of the thinning: 0 none, 1 volume kept, up to 10
    double stretchMin = 0.0;  // the length scale is raised to this (0: no floor)
    double stretchMax = 0.0;  // and then lowered to this when above 0 (0: no ceiling)
    double influence = 1.0;   // 0 leaves the motion as it was, 1 is the whole muscle
    unsigned char aim = kAimHeadingPitch;
};

inline constexpr double kMostBulge = 10.0;

bool operator==(const MuscleControls& a, const MuscleControls& b);
bool atDefaults(const MuscleControls& controls);
// Every control but the aim at its default: the scale comes out as without controls.
bool shapingAtDefaults(const MuscleControls& controls);

// Each value brought into its range and to single precision (as the scene
// keeps it); one that is not a finite number takes its default, and an aim
// other than the shortest turn is heading and pitch.
MuscleControls withinRange(const MuscleControls& controls);

}  // namespace sinewrig
