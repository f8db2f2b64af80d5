#include <gtest/gtest.h>

#include <numbers>

#include "tests/matrix4.h"

using namespace sinewrig;

namespace {

constexpr double kHalfPi = std::numbers::pi / 2;

Vec3 transformed(const Matrix4& m, Vec3 v) {
    m.transformPoint(v);
    return v;
}

void expectNear(Vec3 actual, Vec3 expected, double tolerance = 1e-15) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

}  // namespace

TEST(Matrix4, NewMatrixIsIdentityAndSetIdentityResets) {
    Matrix4 m;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(m.m[r][c], r == c ? 1.0 : 0.0);
    m.rotateHPB(0.3, 0.2, 0.1);
    m.translate(1, 2, 3);
    m.setIdentity();
    EXPECT_EQ(m.m[3][0], 0.0);
    EXPECT_EQ(m.m[0][0], 1.0);
}

TEST(Matrix4, TranslateMovesPointsAndKeepsColumnThree) {
    Matrix4 m;
    m.translate(1, 2, 3);
    EXPECT_EQ(m.m[3][0], 1.0);
    EXPECT_EQ(m.m[3][1], 2.0);
    EXPECT_EQ(m.m[3][2], 3.0);
    Vec3 p = transformed(m, {0, 0, 1});
    EXPECT_EQ(p.x, 1.0);
    EXPECT_EQ(p.y, 2.0);
    EXPECT_EQ(p.z, 4.0);
    m.rotateHPB(0.4, -0.3, 1.2);
    for (int r = 0; r < 3; ++r) EXPECT_EQ(m.m[r][3], 0.0);
    EXPECT_EQ(m.m[3][3], 1.0);
}

TEST(Matrix4, SingleAxisRotationsFollowTheAxisConvention) {
    Matrix4 heading, pitch, bank;
    heading.rotateY(kHalfPi);
    pitch.rotateX(kHalfPi);
    bank.rotateZ(kHalfPi);
    expectNear(transformed(heading, {0, 0, 1}), {1, 0, 0});
    expectNear(transformed(pitch, {0, 0, 1}), {0, -1, 0});
    expectNear(transformed(bank, {1, 0, 0}), {0, 1, 0});
}

TEST(Matrix4, RotateHPBBanksThenPitchesThenHeads) {
    const double h = 0.7, p = -0.4, b = 1.9;
    Matrix4 all;
    all.rotateHPB(h, p, b);
    Matrix4 bankOnly, pitchOnly, headingOnly;
    bankOnly.rotateZ(b);
    pitchOnly.rotateX(p);
    headingOnly.rotateY(h);
    const Vec3 points[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.3, -2, 5}};
    for (Vec3 point : points) {
        Vec3 stepwise = transformed(headingOnly, transformed(pitchOnly, transformed(bankOnly, point)));
        expectNear(transformed(all, point), stepwise, 1e-14);
    }
}

TEST(Matrix4, RotationsReadTheOldValuesOfEveryRow) {
    // A translated matrix rotates its translation row too; any in-place slip shows here.
    Matrix4 m;
    m.translate(1, 2, 3);
    m.rotateZ(kHalfPi);
    expectNear({m.m[3][0], m.m[3][1], m.m[3][2]}, {-2, 1, 3});
    m.rotateX(kHalfPi);
    expectNear({m.m[3][0], m.m[3][1], m.m[3][2]}, {-2, -3, 1});
    m.rotateY(kHalfPi);
    expectNear({m.m[3][0], m.m[3][1], m.m[3][2]}, {1, -3, 2});
}

TEST(Matrix4, MultiplyComposesLeftThenRightAndLeavesOperands) {
    Matrix4 a, b;
    a.rotateY(0.5);
    a.translate(1, 0, 0);
    b.rotateX(-0.8);
    b.translate(0, 4, 2);
    const Matrix4 aBefore = a, bBefore = b;
    Matrix4 ab = multiply(a, b);
    const Vec3 p{0.2, 0.7, -1.5};
    expectNear(transformed(ab, p), transformed(b, transformed(a, p)), 1e-14);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(a.m[r][c], aBefore.m[r][c]);
            EXPECT_EQ(b.m[r][c], bBefore.m[r][c]);
        }
}
