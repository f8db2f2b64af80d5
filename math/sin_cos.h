// Sine and cosine of one angle, for building rotations.
#pragma once

#include <cmath>

namespace sinewrig {

struct SinCos {
    double sin, cos;
};

// Rigs leave most banks and many pitches at exactly 0; sin(±0) is ±0 and
// cos(±0) is 1 exactly, so those skip the library call with the same bits.
inline SinCos sinCos(double angle) {
    if (angle == 0.0) return {angle, 1.0};
    return {std::sin(angle), std::cos(angle)};
}

}  // namespace sinewrig
