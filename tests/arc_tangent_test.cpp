// The module's two-argument arc tangent against the C library's, which it
// stands in for when a rotation is turned back into its angles.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <random>

#include "math/arc_tangent.h"

using sinewrig::arcTangent2;

namespace {

// Units in the last place of the library's result between the two.
double ulpsApart(double ours, double library) {
    if (ours == library) return 0;
    const double unit = std::nextafter(std::abs(library), HUGE_VAL) - std::abs(library);
    return std::abs(ours - library) / unit;
}

}  // namespace

TEST(ArcTangent, AgreesWithTheLibraryWithinTwoUnitsInTheLastPlace) {
    std::mt19937 random(77);
    std::uniform_real_distribution<double> unit(-1.0, 1.0), decades(-12.0, 12.0);
    for (int trial = 0; trial < 200000; ++trial) {
        const double y = unit(random) * std::pow(10.0, decades(random));
        double x = unit(random) * std::pow(10.0, decades(random));
        if (trial % 4 == 0) x = y * (1 + 1e-3 * unit(random));  // near the diagonals
        EXPECT_LE(ulpsApart(arcTangent2(y, x), std::atan2(y, x)), 2.0) << y << ", " << x;
    }
    // Where the reductions change (a ratio of 0.4375, 0.6875 and 1) and the
    // doubles on either side, in every quadrant.
    for (double ratio : {0.4375, 0.6875, 1.0, 0.5, 1e-300, 1e-17})
        for (double large : {1.0, 3e-200, 7e250})
            for (double ys : {1.0, -1.0})
                for (double xs : {1.0, -1.0})
                    for (bool steep : {false, true}) {
                        double small = ratio * large;
                        for (double at : {std::nextafter(small, 0.0), small, std::nextafter(small, HUGE_VAL)}) {
                            const double y = ys * (steep ? large : at), x = xs * (steep ? at : large);
                            EXPECT_LE(ulpsApart(arcTangent2(y, x), std::atan2(y, x)), 2.0) << y << ", " << x;
                        }
                    }
}

TEST(ArcTangent, AxesZerosAndWhatTheLibraryTakesAreTheLibrarys) {
    const double inf = HUGE_VAL, nan = std::numeric_limits<double>::quiet_NaN();
    const double pi = std::numbers::pi;
    // The axes and signed zeros: exact, as the library gives them.
    EXPECT_EQ(arcTangent2(0.0, 2.0), 0.0);
    EXPECT_TRUE(std::signbit(arcTangent2(-0.0, 2.0)));
    EXPECT_EQ(arcTangent2(0.0, -2.0), pi);
    EXPECT_EQ(arcTangent2(-0.0, -2.0), -pi);
    EXPECT_EQ(arcTangent2(3.0, 0.0), pi / 2);
    EXPECT_EQ(arcTangent2(3.0, -0.0), pi / 2);
    EXPECT_EQ(arcTangent2(-3.0, 0.0), -pi / 2);
    EXPECT_NEAR(arcTangent2(1.0, 1.0), 0.7853981633974483, 1e-16);
    EXPECT_NEAR(arcTangent2(-1.0, -1.0), -2.356194490192345, 4e-16);
    // Where either side is a zero, an infinity or NaN, the library's own result.
    for (double y : {0.0, -0.0, 1.0, -1.0, inf, -inf, nan})
        for (double x : {0.0, -0.0, 1.0, -1.0, inf, -inf, nan}) {
            if (std::abs(y) == 1.0 && std::abs(x) == 1.0) continue;
            const double library = std::atan2(y, x);
            if (std::isnan(library)) {
                EXPECT_TRUE(std::isnan(arcTangent2(y, x))) << y << ", " << x;
                continue;
            }
            EXPECT_EQ(std::bit_cast<std::uint64_t>(arcTangent2(y, x)), std::bit_cast<std::uint64_t>(library))
                << y << ", " << x;
        }
}
