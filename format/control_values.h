// The muscle controls as the scene data and the options panel hold them: the
// values of the two choices, and each number's range and default. At the
// defaults a muscle moves exactly as one without controls.
#pragma once

#include <cfloat>

namespace sinewrig {

// The cross-section axes that thin with preserve volume: the scene's byte and
// the popup's item, in the popup's order.
enum VolumeAxes : unsigned char { kVolumeAxesXY = 0, kVolumeAxesX = 1, kVolumeAxesY = 2 };

// How the bone is turned onto its target: heading and pitch taken from the
// direction (bank left as the motion gave it), or the motion's own rotation
// swung by the smallest turn, which never spins the bone about its length.
// The scene's byte and the popup's item, in the popup's order.
enum Aim : unsigned char { kAimHeadingPitch = 0, kAimShortestTurn = 1 };

inline constexpr VolumeAxes kDefaultVolumeAxes = kVolumeAxesXY;
inline constexpr Aim kDefaultAim = kAimHeadingPitch;

struct ControlRange {
    double least;
    double most;
    double byDefault;
};

// The exponent of the thinning: 0 none, 1 volume kept.
inline constexpr ControlRange kBulgeRange = {0.0, 10.0, 1.0};
// stretchMin raises the length scale to it, stretchMax then lowers it to it;
// 0 is no limit for either. As far as the scene's single precision reaches.
inline constexpr ControlRange kStretchRange = {0.0, FLT_MAX, 0.0};
// 0 leaves the motion as it was, 1 is the whole muscle.
inline constexpr ControlRange kInfluenceRange = {0.0, 1.0, 1.0};

}  // namespace sinewrig
