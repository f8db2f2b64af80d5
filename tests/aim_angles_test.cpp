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
    // Seven units in the last place below the double nearest pi/2.
    double belowHalfPi = std::numbers::pi / 2;
    for (int step = 0; step < 7; ++step) belowHalfPi = std::nextafter(belowHalfPi, 0.0);
    EXPECT_EQ(kRightAngle, belowHalfPi);

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

    // The reach is sin of the right-angle literal, which is 1 to a double: pitch up by a quarter of pi.
    a = aim({1, 1, 0});
    EXPECT_EQ(a.heading, 1.570796326794895);
    EXPECT_NEAR(a.pitch, -0.7853981633974483, 1e-15);
}

// On the centre plane (x = +0 or -0) behind the pivot, the bone turns half way
// round and pitches up or down from there, as it does a hair to either side
// of the plane, instead of pitching over the top and rolling upside down.
TEST(AimAngles, BehindOnTheCentrePlaneHeadingIsHalfATurnAndPitchIsFromThere) {
    for (double x : {0.0, -0.0}) {
        SCOPED_TRACE(std::signbit(x) ? "x -0" : "x +0");
        Angles a = aim({x, 1, -1});  // behind and above
        EXPECT_EQ(a.heading, std::numbers::pi);
        EXPECT_NEAR(a.pitch, -0.7853981633974483, 1e-15);
        a = aim({x, -1, -1});  // behind and below
        EXPECT_EQ(a.heading, std::numbers::pi);
        EXPECT_NEAR(a.pitch, 0.7853981633974483, 1e-15);
        a = aim({x, 0.02, -0.25});  // 4.57 degrees up
        EXPECT_EQ(a.heading, std::numbers::pi);
        EXPECT_NEAR(a.pitch, -0.0798299857122373, 1e-15);
        a = aim({x, 0, -4});  // straight behind
        EXPECT_EQ(a.heading, std::numbers::pi);
        EXPECT_EQ(a.pitch, 0.0);
        // Ahead, above and below are as they were: heading 0.
        a = aim({x, 1, 1});
        EXPECT_EQ(a.heading, 0.0);
        EXPECT_NEAR(a.pitch, -0.7853981633974483, 1e-15);
        a = aim({x, -2, 0});
        EXPECT_EQ(a.heading, 0.0);
        EXPECT_EQ(a.pitch, 1.570796326794895);
    }
}

// The bone's whole rotation, bank included, is the same on the plane and a hair to either side.
TEST(AimAngles, TheRotationIsContinuousAcrossTheCentrePlaneBehindThePivot) {
    for (double y : {0.02, -0.7, 0.0}) {
        Matrix4 reference;
        bool first = true;
        for (double x : {-1e-15, -0.0, 0.0, 1e-15}) {
            SCOPED_TRACE(testing::Message() << "x " << x << ", y " << y);
            const Angles a = aim({x, y, -0.25}, 0.4);
            Matrix4 m;
            m.rotateHPB(a.heading, a.pitch, a.bank);
            if (first) reference = m;
            first = false;
            for (int row = 0; row < 3; ++row)
                for (int column = 0; column < 3; ++column)
                    EXPECT_NEAR(m.m[row][column], reference.m[row][column], 1e-13) << row << ", " << column;
        }
    }
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
    Angles a = aim({-0.0, -0.0, -1});
    EXPECT_EQ(a.heading, std::numbers::pi);
    EXPECT_EQ(a.pitch, 0.0);
}

TEST(AimAngles, BankIsNeverTouched) {
    const Vec3 directions[] = {{0, 0, 5}, {3, 0, 0}, {0, 2, 0}, {0, 1, -1}, {1, 1, 0}, {0, 0, 0}, {0, 0, -4}, {-0.0, -1, -2}};
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
