// 3x3 rotations for row vectors (p' = p * R): row i is where the unit vector
// along axis i goes.
#pragma once

#include "math/vector.h"

namespace sinewrig {

struct Rotation3 {
    Vec3 row[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

inline Vec3 operator*(const Vec3& p, const Rotation3& r) {
    return p.x * r.row[0] + p.y * r.row[1] + p.z * r.row[2];
}

// a then b.
inline Rotation3 operator*(const Rotation3& a, const Rotation3& b) {
    return {{a.row[0] * b, a.row[1] * b, a.row[2] * b}};
}

// The inverse, for rotations.
inline Rotation3 transposed(const Rotation3& r) {
    return {{{r.row[0].x, r.row[1].x, r.row[2].x},
             {r.row[0].y, r.row[1].y, r.row[2].y},
             {r.row[0].z, r.row[1].z, r.row[2].z}}};
}

// Banks, then pitches, then heads: Rz(bank) * Rx(pitch) * Ry(heading).
Rotation3 rotationHPB(double heading, double pitch, double bank);

// The (heading, pitch, bank) whose rotationHPB is r, pitch within +-pi/2.
// Straight up or down, where heading and bank only share one turn between
// them, heading is `headingWhenVertical` and bank the rest. Bank is what is
// left of r once heading and pitch are taken back off it, so the angles give
// r back to rounding however near the vertical it points.
void anglesHPB(const Rotation3& r, double headingWhenVertical, double rotation[3]);

}  // namespace sinewrig
