#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "tests/matrix4.h"
#include "math/vector.h"

using namespace sinewrig;

namespace {

struct Angles {
    double heading, pitch, bank;
};

Angles aim(Vec3 d, double bank = 0.25) {
    double rot[3] = {99.0, 99.0, bank};
    aimAngles(d, rot);
    return {rot[0], rot[1], rot[2]};
}

}  // namespace

TEST(AimAngles, AxisDirectionsUseTheRightAngleLiteral) {
    EXPECT_EQ(kRightAngle, 1.570796326794895);
    EXPECT_LT(kRightAngle, std::numbers::pi / 2);

    Angles a = aim({0, 0, 5});
    EXPECT_EQ(a.heading, 0.0);
    EXPECT_EQ(a.pitch, 0.0);
    a = aim({3, 0, 0});
    EXPECT_EQ(a.heading, 1.570796326794895);
    EXPECT_EQ(a.pitch, 0.0);
    a = aim({-3, 0, 0});
    EXPECT_EQ(a.heading, -1.570796326794895);
    EXPECT_EQ(a.pitch, 0.0);
    a = aim({0, 2, 0});
    EXPECT_EQ(a.heading, 0.0);
    EXPECT_EQ(a.pitch, -1.570796326794895);
    a = aim({0, -2, 0});
    EXPECT_EQ(a.heading, 0.0);
    EXPECT_EQ(a.pitch, 1.570796326794895);
}

TEST(AimAngles, GeneralDirections) {
    Angles a = aim({1, 0, 1});
    EXPECT_EQ(a.heading, std::atan2(1.0, 1.0));
    EXPECT_EQ(a.pitch, 0.0);

    // Behind and above: the reach keeps the sign of z and the bone pitches over the top.
    a = aim({0, 1, -1});
    EXPECT_EQ(a.heading, 0.0);
    EXPECT_EQ(a.pitch, -std::atan2(1.0, -1.0));
    EXPECT_NEAR(a.pitch, -2.35619449, 1e-8);

    a = aim({1, 1, 0});
    EXPECT_EQ(a.heading, 1.570796326794895);
    double reach = 0.0 * std::cos(kRightAngle) + 1.0 * std::sin(kRightAngle);
    EXPECT_EQ(a.pitch, -std::atan2(1.0, reach));
    EXPECT_NEAR(a.pitch, -std::numbers::pi / 4, 1e-15);
}

TEST(AimAngles, ZeroAndNegativeZeroCountAsZero) {
    Angles a = aim({0, 0, 0});
    EXPECT_EQ(a.heading, 0.0);
    EXPECT_EQ(a.pitch, 0.0);
    EXPECT_EQ(vectorLength({0, 0, 0}), 0.0);

    a = aim({-0.0, 0, 3});
    EXPECT_EQ(a.heading, 0.0);
    a = aim({2, -0.0, -0.0});
    EXPECT_EQ(a.heading, 1.570796326794895);
    EXPECT_EQ(a.pitch, 0.0);
}

TEST(AimAngles, StraightBehindTurnsHalfWayRound) {
    Angles a = aim({0, 0, -4});
    EXPECT_EQ(a.heading, std::numbers::pi);
    EXPECT_EQ(a.pitch, 0.0);
    a = aim({-0.0, -0.0, -1});
    EXPECT_EQ(a.heading, std::numbers::pi);
}

TEST(AimAngles, BankIsNeverTouched) {
    const Vec3 directions[] = {{0, 0, 5}, {3, 0, 0}, {0, 2, 0}, {0, 1, -1}, {1, 1, 0}, {0, 0, 0}, {0, 0, -4}};
    for (const Vec3& d : directions) EXPECT_EQ(aim(d, -0.7).bank, -0.7);
}

TEST(VectorLength, SumsSquaresInOrder) {
    EXPECT_EQ(vectorLength({3, 4, 12}), 13.0);
    EXPECT_EQ(vectorLength({-3, -4, -12}), 13.0);
}

// Rotating +Z by the aim angles, bank first, then pitch, then heading, points
// along the direction, for any bank.
TEST(AimAngles, RotatedForwardAxisPointsAlongTheDirection) {
    std::mt19937 random(1234);
    std::uniform_real_distribution<double> coord(-10.0, 10.0);
    for (int i = 0; i < 2000; ++i) {
        Vec3 d{coord(random), coord(random), coord(random)};
        if (i % 7 == 0) d.x = 0.0;
        if (i % 11 == 0) d.y = 0.0;
        if (i % 13 == 0) d.z = 0.0;
        const double length = vectorLength(d);
        if (length == 0.0) continue;
        double rot[3] = {0, 0, coord(random)};
        aimAngles(d, rot);
        Matrix4 m;
        m.rotateHPB(rot[0], rot[1], rot[2]);
        Vec3 forward{0, 0, 1};
        m.transformPoint(forward);
        EXPECT_NEAR(forward.x, d.x / length, 1e-12) << i;
        EXPECT_NEAR(forward.y, d.y / length, 1e-12) << i;
        EXPECT_NEAR(forward.z, d.z / length, 1e-12) << i;
    }
}
