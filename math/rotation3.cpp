#include "math/rotation3.h"

#include <cmath>

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
    // The forward axis is (sin h cos p, -sin p, cos h cos p).
    const Vec3& forward = r.row[2];
    const double reach = std::sqrt(forward.x * forward.x + forward.z * forward.z);
    const double sinPitch = -forward.y, cosPitch = reach;
    double heading, sinHeading, cosHeading;
    if (reach > kVerticalReach) {
        heading = std::atan2(forward.x, forward.z);
        sinHeading = forward.x / reach;
        cosHeading = forward.z / reach;
    } else {
        heading = headingWhenVertical;
        const SinCos h = sinCos(heading);
        sinHeading = h.sin;
        cosHeading = h.cos;
    }
    // Row 0 of r * Ry(heading)^T * Rx(pitch)^T is (cos bank, sin bank, 0).
    const Vec3& side = r.row[0];
    const double unheadedX = side.x * cosHeading - side.z * sinHeading;
    const double unheadedZ = side.x * sinHeading + side.z * cosHeading;
    rotation[0] = heading;
    rotation[1] = std::atan2(sinPitch, cosPitch);
    rotation[2] = std::atan2(side.y * cosPitch + unheadedZ * sinPitch, unheadedX);
}

}  // namespace sinewrig
