#include "math/rotation3.h"

#include <cmath>

#include "math/arc_tangent.h"
#include "math/sin_cos.h"

namespace sinewrig {

Rotation3 rotationHPB(double heading, double pitch, double bank) {
    const SinCos h = sinCos(heading), p = sinCos(pitch), b = sinCos(bank);
    // Rz * Rx multiplied out; its products are rounded once, as the three
    // single-axis turns of an identity 4x4 matrix round them.
    const double sbsp = b.sin * p.sin, cbsp = b.cos * p.sin;
    return {{{b.cos * h.cos + sbsp * h.sin, b.sin * p.cos, -b.cos * h.sin + sbsp * h.cos},
             {-b.sin * h.cos + cbsp * h.sin, b.cos * p.cos, b.sin * h.sin + cbsp * h.cos},
             {p.cos * h.sin, -p.sin, p.cos * h.cos}}};
}

// A forward axis whose horizontal part is this short points straight up or
// down to rounding: its heading would be the arc tangent of noise.
constexpr double kVerticalReach = 1e-15;

void anglesHPB(const Rotation3& r, double headingWhenVertical, double rotation[3]) {
    // The forward axis is (sin h cos p, -sin p, cos h cos p), its horizontal
    // reach cos p; row 0 of r * Ry(h)^T * Rx(p)^T is (cos b, sin b, 0).
    const Vec3& forward = r.row[2];
    const Vec3& side = r.row[0];
    const double sinPitch = -forward.y;
    const double reachSquared = forward.x * forward.x + forward.z * forward.z;
    if (reachSquared > kVerticalReach * kVerticalReach) {
        // Bank from its pair multiplied through by the reach (sin h and cos h
        // are forward.x and forward.z over it), so no division stands before it.
        rotation[0] = arcTangent2(forward.x, forward.z);
        rotation[1] = arcTangent2(sinPitch, std::sqrt(reachSquared));
        const double across = side.x * forward.z - side.z * forward.x;
        const double along = side.x * forward.x + side.z * forward.z;
        rotation[2] = arcTangent2(side.y * reachSquared + along * sinPitch, across);
    } else {
        const double reach = std::sqrt(reachSquared);
        const SinCos h = sinCos(headingWhenVertical);
        const double across = side.x * h.cos - side.z * h.sin;
        const double along = side.x * h.sin + side.z * h.cos;
        rotation[0] = headingWhenVertical;
        rotation[1] = arcTangent2(sinPitch, reach);
        rotation[2] = arcTangent2(side.y * reach + along * sinPitch, across);
    }
}

}  // namespace sinewrig
