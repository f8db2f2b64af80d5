// Sine and cosine of one angle, for building rotations and aiming bones.
//
// Every evaluate turns each level of two parent chains, so the pair is taken
// here in one go: one reduction by pi/2 shared by both, then the classic
// minimax kernels on [-pi/4, pi/4] (about 1 ulp, as the C library's). Angles
// far out of any rig's range, and non-finite ones, go to the library.
// The kernels' coefficients are those of Sun's freely distributable fdlibm.
#pragma once

#include <cmath>
#include <numbers>

namespace sinewrig {

struct SinCos {
    double sin, cos;
};

namespace sin_cos_detail {

// pi/2 in three parts; the first two have 33 bits, so n times either is exact
// for every n the fast path allows, and an angle near a multiple of pi/2
// keeps its low bits.
constexpr double kPiOver2High = 1.57079632673412561417e+00;
constexpr double kPiOver2Middle = 6.07710050630396597660e-11;
constexpr double kPiOver2Low = 2.02226624879595063154e-21;
constexpr double kPiOver4 = std::numbers::pi / 4;  // below pi/4 itself: needs no reduction
constexpr double kTwoOverPi = 6.36619772367581382433e-01;
constexpr double kFastLimit = 1.0e5;  // |angle| below this: n < 2^17

// The kernels' polynomials are summed in pairs (Estrin's scheme) rather than
// one term after another, which halves the chain each result waits on.

// sin(r) for |r| <= ~pi/4.
inline double kernelSin(double r) {
    constexpr double S1 = -1.66666666666666324348e-01, S2 = 8.33333333332248946124e-03,
                     S3 = -1.98412698298579493134e-04, S4 = 2.75573137070700676789e-06,
                     S5 = -2.50507602534068634195e-08, S6 = 1.58969099521155010221e-10;
    const double z = r * r, z2 = z * z, z4 = z2 * z2;
    const double poly = (S1 + z * S2) + z2 * (S3 + z * S4) + z4 * (S5 + z * S6);
    return r + (r * z) * poly;
}

// cos(r) for |r| <= ~pi/4; 1 - r^2/2 is summed so as to keep its low bits.
inline double kernelCos(double r) {
    constexpr double C1 = 4.16666666666666019037e-02, C2 = -1.38888888888741095749e-03,
                     C3 = 2.48015872894767294178e-05, C4 = -2.75573143513906633035e-07,
                     C5 = 2.08757232129817482790e-09, C6 = -1.13596475577881948265e-11;
    const double z = r * r, z2 = z * z, z4 = z2 * z2;
    const double tail = z2 * ((C1 + z * C2) + z2 * (C3 + z * C4) + z4 * (C5 + z * C6));
    const double half = 0.5 * z;
    const double w = 1.0 - half;
    return w + (((1.0 - w) - half) + tail);
}

}  // namespace sin_cos_detail

// Rigs leave most banks and many pitches at exactly 0; sin(±0) is ±0 and
// cos(±0) is 1 exactly, so those cost nothing and keep the zero's sign.
inline SinCos sinCos(double angle) {
    using namespace sin_cos_detail;
    if (angle == 0.0) return {angle, 1.0};
    const double size = std::fabs(angle);
    if (size <= kPiOver4) return {kernelSin(angle), kernelCos(angle)};
    if (!(size < kFastLimit)) return {std::sin(angle), std::cos(angle)};
    const double scaled = angle * kTwoOverPi;
    const int quadrant = int(scaled + (scaled < 0.0 ? -0.5 : 0.5));
    const double n = quadrant;
    const double r = ((angle - n * kPiOver2High) - n * kPiOver2Middle) - n * kPiOver2Low;
    const double s = kernelSin(r), c = kernelCos(r);
    switch (quadrant & 3) {
    case 0: return {s, c};
    case 1: return {c, -s};
    case 2: return {-s, -c};
    default: return {-c, s};
    }
}

}  // namespace sinewrig
