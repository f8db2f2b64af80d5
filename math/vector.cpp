#include "math/vector.h"

#include <cmath>
#include <numbers>

#include "math/sin_cos.h"

namespace sinewrig {

void aimAngles(const Vec3& d, double rotation[3]) {
    double heading;
    if (d.x == 0.0)
        // Straight behind the pivot the bone must turn half way round to face it.
        heading = (d.z < 0.0 && d.y == 0.0) ? std::numbers::pi : 0.0;
    else if (d.z == 0.0)
        heading = d.x > 0.0 ? kRightAngle : -kRightAngle;
    else
        heading = std::atan2(d.x, d.z);

    // From the heading rather than a square root: with x = 0 the reach keeps the
    // sign of z, so a target behind and above pitches over the top.
    const SinCos turn = sinCos(heading);
    double reach = d.z * turn.cos + d.x * turn.sin;

    double pitch;
    if (d.y == 0.0)
        pitch = 0.0;
    else if (reach == 0.0)
        pitch = d.y > 0.0 ? -kRightAngle : kRightAngle;
    else
        pitch = -std::atan2(d.y, reach);

    rotation[0] = heading;
    rotation[1] = pitch;
}

double vectorLength(const Vec3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

}  // namespace sinewrig
