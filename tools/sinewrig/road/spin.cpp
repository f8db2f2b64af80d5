#include "tools/sinewrig/road/spin.h"

#include <algorithm>
#include <cmath>

#include "tools/sinewrig/common/angles.h"

namespace sinewrig_tool {

double spinAboutLength(const host::Rotation3& before, const host::Rotation3& after) {
    // The turn from the bone's axes at `after` to its axes at `before`.
    const host::Rotation3 m = host::multiply(after, host::transpose(before));
    // Its quaternion's w and z, the twist about Z being 2 atan2(|z|, |w|);
    // each is taken from the larger of the two, so neither is divided by a
    // number near 0.
    const double w4 = std::max(0.0, 1 + m[0][0] + m[1][1] + m[2][2]);
    const double z4 = std::max(0.0, 1 - m[0][0] - m[1][1] + m[2][2]);
    const double wz4 = m[0][1] - m[1][0];  // 4 w z
    double w, z;
    if (w4 >= z4) {
        w = std::sqrt(w4);
        z = w > 0 ? wz4 / w : 0;
    } else {
        z = std::sqrt(z4);
        w = wz4 / z;
    }
    return degrees(2 * std::atan2(std::abs(z), std::abs(w)));
}

}  // namespace sinewrig_tool
