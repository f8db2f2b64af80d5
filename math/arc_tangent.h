// The two-argument arc tangent, for turning a rotation matrix back into its
// three angles on every evaluate of a shortest-turn muscle.
//
// The smaller of |y| and |x| over the larger is one division; fdlibm's
// reductions of it, (2t - 1) / (2 + t) and (t - 1) / (t + 1), are folded into
// that division, and its odd polynomial and its table of arc tangents (Sun's
// freely distributable fdlibm) give atan within about a unit in the last place,
// as the library's. Zeros on both sides, infinities and NaN go to the library.
#pragma once

#include <cmath>
#include <numbers>

namespace sinewrig {

namespace arc_tangent_detail {

// pi, pi/2, atan(0.5) and atan(1) = pi/4, each in a high part (the
// nearest double) and the low bits it leaves out.
constexpr double kPiHigh = std::numbers::pi, kPiLow = 1.22464679914735317720e-16;
constexpr double kPiOver2High = kPiHigh / 2, kPiOver2Low = kPiLow / 2;
constexpr double kAtanHigh[] = {4.63647609000806093515e-01, kPiHigh / 4};
constexpr double kAtanLow[] = {2.26987774529616870924e-17, kPiLow / 4};

// r - atan(r), for |r| <= 0.4375: r z (T0 + T1 z + ... + T10 z^10) with
// z = r^2, summed in pairs (Estrin's scheme) as the sine and cosine kernels are.
inline double atanTail(double r) {
    constexpr double T[] = {3.33333333333329318027e-01,  -1.99999999998764832476e-01, 1.42857142725034663711e-01,
                            -1.11111104054623557880e-01, 9.09088713343650656196e-02,  -7.69187620504482999495e-02,
                            6.66107313738753120669e-02,  -5.83357013379057348645e-02, 4.97687799461593236017e-02,
                            -3.65315727442169155270e-02, 1.62858201153657823623e-02};
    const double z = r * r, z2 = z * z, z4 = z2 * z2, z8 = z4 * z4;
    const double low = ((T[0] + z * T[1]) + z2 * (T[2] + z * T[3])) + z4 * ((T[4] + z * T[5]) + z2 * (T[6] + z * T[7]));
    const double high = (T[8] + z * T[9]) + z2 * T[10];
    return (r * z) * (low + z8 * high);
}

}  // namespace arc_tangent_detail

// atan2(y, x), in (-pi, pi].
inline double arcTangent2(double y, double x) {
    using namespace arc_tangent_detail;
    const double ay = std::fabs(y), ax = std::fabs(x);
    const bool steep = ay > ax;
    const double small = steep ? ax : ay, large = steep ? ay : ax;
    if (!(large > 0.0 && large < HUGE_VAL) || !(small < HUGE_VAL)) return std::atan2(y, x);
    // atan(small / large), in [0, pi/4].
    double angle;
    if (small < 0.4375 * large) {
        const double r = small / large;
        angle = r - atanTail(r);
    } else {
        // Both numerators are exact: their two terms are within a factor of two.
        const bool nearHalf = small < 0.6875 * large;
        const double r = nearHalf ? (2.0 * small - large) / (2.0 * large + small) : (small - large) / (small + large);
        const int at = nearHalf ? 0 : 1;
        angle = kAtanHigh[at] - ((atanTail(r) - kAtanLow[at]) - r);
    }
    if (steep) angle = kPiOver2High - (angle - kPiOver2Low);
    if (x < 0.0) angle = kPiHigh - (angle - kPiLow);
    return std::copysign(angle, y);
}

}  // namespace sinewrig
