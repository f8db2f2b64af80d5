#include "math/vector.h"

#include <cmath>
#include <numbers>

#include "math/sin_cos.h"

namespace sinewrig {

void aimAngles(const Vec3& d, double rotation[3]) {
    double heading, reach;
    if (d.x == 0.0 && d.z < 0.0) {
        // Behind the pivot on the centre plane: turned half way round, as a hair
        // to either side of the plane is, rather than pitched over the top and
        // rolled upside down by the sign of a rounding.
        heading = std::numbers::pi;
        reach = -d.z;
    } else {
        if (d.x == 0.0)
            heading = 0.0;
        else if (d.z == 0.0)
            heading = d.x > 0.0 ? kRightAngle : -kRightAngle;
        else
            heading = std::atan2(d.x, d.z);
        // From the heading rather than a square root, as the angles have always been taken.
        const SinCos turn = sinCos(heading);
        reach = d.z * turn.cos + d.x * turn.sin;
    }

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

Vec3 unitVectorOfExtremeLength(const Vec3& v) {
    const double largest = std::fmax(std::fabs(v.x), std::fmax(std::fabs(v.y), std::fabs(v.z)));
    if (!(largest > 0.0) || !std::isfinite(largest)) return {};
    const Vec3 scaled = {v.x / largest, v.y / largest, v.z / largest};
    return (1.0 / vectorLength(scaled)) * scaled;
}

}  // namespace sinewrig
