// The rigid-transform arithmetic against the Matrix4 arithmetic it replaced,
// kept here as the reference: the same rigs give the same matrices, points and
// written motion within 1e-12, zeros of either sign give the old values
// exactly, and non-finite host values still leave the target non-finite.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "items/item_transform.h"
#include "items/parent_chain.h"
#include "math/sin_cos.h"
#include "muscle_host.h"
#include "tests/matrix4.h"

using namespace sinewrig;

namespace {

constexpr double kTolerance = 1e-12;

// The points that pin a world matrix: its translation row and its three axes.
constexpr Vec3 kOriginAndAxes[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

// The running product over the item's chain, from the identity, which a
// looping chain restarts.
template <class Step>
Matrix4 overChain(LWItemID item, const LWItemInfo& info, Step step) {
    Matrix4 m;
    walkParentChain(item, info, [&](LWItemID level) { step(m, level); }, [&] { m.setIdentity(); });
    return m;
}

// The world matrix as the module once built it: every level turned and moved in place
// on the running 4x4 product.
Matrix4 matrix4World(LWItemID item, const LWItemInfo& info, LWTime time) {
    return overChain(item, info, [&](Matrix4& world, LWItemID level) {
        LWDVector rot = {0, 0, 0}, pos = {0, 0, 0};
        info.param(level, LWIP_ROTATION, time, rot);
        world.rotateHPB(rot[0], rot[1], rot[2]);
        info.param(level, LWIP_POSITION, time, pos);
        world.translate(pos[0], pos[1], pos[2]);
    });
}

// The inverse world matrix as the module once built it: each level's inverse from
// negated values, multiplied on the left of the running product.
Matrix4 matrix4Inverse(LWItemID item, const LWItemInfo& info, LWTime time) {
    return overChain(item, info, [&](Matrix4& inverse, LWItemID level) {
        LWDVector pos = {0, 0, 0}, rot = {0, 0, 0};
        Matrix4 local;
        info.param(level, LWIP_POSITION, time, pos);
        local.translate(pos[0] * -1.0, pos[1] * -1.0, pos[2] * -1.0);
        info.param(level, LWIP_ROTATION, time, rot);
        local.rotateY(rot[0] * -1.0);
        local.rotateX(rot[1] * -1.0);
        local.rotateZ(rot[2] * -1.0);
        inverse = multiply(local, inverse);
    });
}

Vec3 transformed(const Matrix4& m, Vec3 v) {
    m.transformPoint(v);
    return v;
}

bool isFinite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

void expectNear(const Matrix4& actual, const Matrix4& expected, double tolerance) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(actual.m[r][c], expected.m[r][c], tolerance) << r << "," << c;
}

void expectNear(Vec3 actual, Vec3 expected, double tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectNear(const double* actual, Vec3 expected, double tolerance) {
    expectNear(Vec3{actual[0], actual[1], actual[2]}, expected, tolerance);
}

// Where the bone's forward axis points after the rotation.
Vec3 aimedAxis(const double* rotation) {
    const double h = rotation[0], p = rotation[1];
    return {std::sin(h) * std::cos(p), -std::sin(p), std::cos(h) * std::cos(p)};
}

// Angles within the tolerance, except for a target within rounding of the
// half-plane behind the pivot (x = 0, z < 0): there the heading jumps by 2 pi,
// or heading and pitch both change, on the sign of a rounding error in x, so
// the aim is compared.
void expectSameAim(const double* actual, const double* expected, Vec3 target) {
    if (std::fabs(target.x) <= 1e-9 * vectorLength(target) && target.z < 0.0)
        expectNear(aimedAxis(actual), aimedAxis(expected), kTolerance);
    else
        expectNear(actual, vec3From(expected), kTolerance);
    EXPECT_EQ(actual[2], expected[2]);
}

struct TransformEquivalence : ::testing::Test, MuscleHost {
    const LWItemInfo* info =
        static_cast<const LWItemInfo*>(host::Services::globalLookup("LW Item Info 3", GFUSE_TRANSIENT));
    std::mt19937 random{4711};

    double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); }
    // A quarter of the angles are +0 and a quarter -0, as in rigs whose links
    // only head or pitch.
    double angle() {
        switch (random() % 4) {
        case 0: return 0.0;
        case 1: return -0.0;
        default: return uniform(-4.0, 4.0);
        }
    }
    Vec3 position() { return {uniform(-3, 3), uniform(-3, 3), uniform(-3, 3)}; }

    // Its last item, under levels - 1 parents; every level keyed at times 0 and 1.
    LWItemID chain(LWItemType type, int levels, bool headingOnly) {
        LWItemID item = nullptr;
        auto turn = [&] { return headingOnly ? Vec3{angle(), 0.0, 0.0} : Vec3{angle(), angle(), angle()}; };
        for (int level = 0; level < levels; ++level) {
            item = add(type, "link", item, position(), turn(), uniform(0.5, 2.0));
            key(item, LWIP_POSITION, 1.0, position());
            key(item, LWIP_ROTATION, 1.0, turn());
        }
        return item;
    }
};

}  // namespace

TEST(SinCos, ZerosAndWhatTheLibraryTakesKeepTheLibrarysBits) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = HUGE_VAL;
    for (double a : {0.0, -0.0, 1e5, -1e5, 1e6, -3e9, 1e300, nan, inf, -inf}) {
        const SinCos sc = sinCos(a);
        if (std::isnan(std::sin(a))) {
            EXPECT_TRUE(std::isnan(sc.sin) && std::isnan(sc.cos)) << a;
            continue;
        }
        EXPECT_EQ(std::bit_cast<std::uint64_t>(sc.sin), std::bit_cast<std::uint64_t>(std::sin(a))) << a;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(sc.cos), std::bit_cast<std::uint64_t>(std::cos(a))) << a;
    }
    // Tiny angles: sin(a) is a itself, cos(a) is 1.
    for (double a : {1e-300, -1e-300, 4.9e-324, -4.9e-324, 1e-9}) {
        EXPECT_EQ(sinCos(a).sin, a);
        EXPECT_EQ(sinCos(a).cos, 1.0);
    }
}

// Two units in the last place of 1: the library and the kernels may each be
// off by one, in opposite directions.
constexpr double kSinCosTolerance = 2 * DBL_EPSILON;

TEST(SinCos, AgreesWithTheLibraryOverEveryQuadrantAndItsEdges) {
    auto expectLibrary = [](double a) {
        const SinCos sc = sinCos(a);
        EXPECT_NEAR(sc.sin, std::sin(a), kSinCosTolerance) << a;
        EXPECT_NEAR(sc.cos, std::cos(a), kSinCosTolerance) << a;
    };
    std::mt19937 random(2024);
    for (double range : {0.785, 4.0, 7.0, 100.0, 99999.0}) {
        std::uniform_real_distribution<double> angle(-range, range);
        for (int trial = 0; trial < 20000; ++trial) expectLibrary(angle(random));
    }
    // Multiples of a right angle and of an eighth turn, and the doubles on
    // either side of them, where the quadrant and the reduction change.
    for (int n = -4000; n <= 4000; ++n)
        for (double at : {n * 1.5707963267948966, n * 0.7853981633974483}) {
            expectLibrary(at);
            expectLibrary(std::nextafter(at, HUGE_VAL));
            expectLibrary(std::nextafter(at, -HUGE_VAL));
        }
}

TEST(RotationHPB, EqualsAnIdentityMatrix4TurnedBankPitchHeading) {
    // The closed form repeats the three single-axis turns operation for
    // operation, but its sines and cosines are the module's own kernels.
    const double tolerance = 1e-15;
    std::mt19937 random(99);
    std::uniform_real_distribution<double> angle(-7.0, 7.0);
    for (int trial = 0; trial < 500; ++trial) {
        double hpb[3];
        for (double& a : hpb) a = trial % 5 == 0 ? -0.0 : trial % 3 == 0 ? 0.0 : angle(random);
        if (trial % 7 == 0) hpb[trial % 3] = angle(random);
        Matrix4 turned;
        turned.rotateHPB(hpb[0], hpb[1], hpb[2]);
        const Rotation3 r = rotationHPB(hpb[0], hpb[1], hpb[2]);
        for (int row = 0; row < 3; ++row) {
            EXPECT_NEAR(r.row[row].x, turned.m[row][0], tolerance) << trial;
            EXPECT_NEAR(r.row[row].y, turned.m[row][1], tolerance) << trial;
            EXPECT_NEAR(r.row[row].z, turned.m[row][2], tolerance) << trial;
        }
    }
}

TEST_F(TransformEquivalence, MatricesAndPointsMatchTheMatrix4FormulationOverRandomChains) {
    layout.log.enabled = false;
    for (int trial = 0; trial < 300; ++trial) {
        LWItemID item = chain(LWI_BONE, 1 + random() % 8, trial % 4 == 0);
        if (trial % 10 == 0) {
            // A looping chain: its root's parent is an item half way down.
            std::vector<LWItemID> levels;
            for (LWItemID level = item; level; level = layout.scene.find(level)->parent) levels.push_back(level);
            layout.scene.find(levels.back())->parent = levels[levels.size() / 2];
        }
        const double time = trial % 3 == 0 ? 0.0 : uniform(0.0, 1.0);
        const Matrix4 world = matrix4World(item, *info, time), inverse = matrix4Inverse(item, *info, time);
        for (const Vec3& axisPoint : kOriginAndAxes)
            expectNear(itemToWorld(item, info, time, axisPoint), transformed(world, axisPoint), kTolerance);
        expectNear(toMatrix4(itemInverseWorldTransform(item, info, time)), inverse, kTolerance);
        const Vec3 point = position();
        expectNear(itemToWorld(item, info, time, point), transformed(world, point), kTolerance);
        expectNear(transformPoint(itemInverseWorldTransform(item, info, time), point), transformed(inverse, point),
                   kTolerance);
        if (HasFailure()) FAIL() << "trial " << trial;
    }
}

TEST_F(TransformEquivalence, ZeroAnglesOfEitherSignGiveTheOldValuesExactly) {
    // Quarter-unit positions keep every sum exact, so only the turns could differ.
    LWItemID item = nullptr;
    for (int level = 0; level < 6; ++level) {
        const double zero = level % 2 ? -0.0 : 0.0;
        item = add(LWI_BONE, "link", item, {0.25 * level, -1.5, 0.75}, {zero, -zero, zero});
    }
    const Matrix4 world = matrix4World(item, *info, 0.0);
    for (const Vec3& axisPoint : kOriginAndAxes)
        expectNear(itemToWorld(item, info, 0.0, axisPoint), transformed(world, axisPoint), 0.0);
    expectNear(toMatrix4(itemInverseWorldTransform(item, info, 0.0)), matrix4Inverse(item, *info, 0.0), 0.0);
    const Vec3 origin = itemToWorld(item, info, 0.0, {});
    EXPECT_EQ(origin.x, 3.75);
    EXPECT_EQ(origin.y, -9.0);
    EXPECT_EQ(origin.z, 4.5);
    const Vec3 point{1.25, -0.5, 2.0};
    expectNear(itemToWorld(item, info, 0.0, point), transformed(matrix4World(item, *info, 0.0), point), 0.0);

    // The motion's own rotation of -0s turns the target as +0s do.
    LWItemID reference = add(LWI_OBJECT, "reference", nullptr, {0.5, 1.0, 3.0});
    LWItemID bone = addBone("bone", {0.25, 0.0, 0.0}, 2.0);
    muscle(bone, reference);
    handlers->evaluate(0.0);
    set(reference, LWIP_POSITION, {1.0, 0.5, 4.0});
    double written[2][3];
    for (int sign = 0; sign < 2; ++sign) {
        set(bone, LWIP_ROTATION, sign ? Vec3{-0.0, -0.0, -0.0} : Vec3{});
        handlers->evaluate(1.0);
        for (int i = 0; i < 3; ++i) written[sign][i] = motionOf(bone).rotation[i];
    }
    for (int i = 0; i < 3; ++i) EXPECT_EQ(written[0][i], written[1][i]) << i;
}

TEST_F(TransformEquivalence, NonFiniteValuesAnywhereInTheChainsLeaveTheTargetNonFinite) {
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(), HUGE_VAL, -HUGE_VAL};
    layout.log.enabled = false;
    for (bool headingOnly : {false, true}) {
        LWItemID bone = chain(LWI_BONE, 3, headingOnly);
        LWItemID reference = add(LWI_OBJECT, "reference", nullptr, {0.5, 1.0, 3.0});
        LWInstance instance = muscle(bone, reference, true);
        for (LWItemID level = bone; level; level = layout.scene.find(level)->parent)
            for (LWItemParam param : {LWIP_POSITION, LWIP_ROTATION})
                for (int axis = 0; axis < 3; ++axis)
                    for (double value : bad) {
                        host::Channel& channel = host::Scene::channels(*layout.scene.find(level), param)[axis];
                        const host::Channel kept = channel;
                        channel.keys = {{0.0, value}};
                        const Vec3 point{0.5, -1.0, 2.0};
                        EXPECT_FALSE(isFinite(itemToWorld(bone, info, 0.0, point)));
                        EXPECT_FALSE(isFinite(transformed(matrix4World(bone, *info, 0.0), point)));
                        EXPECT_FALSE(isFinite(transformPoint(itemInverseWorldTransform(bone, info, 0.0), point)));
                        EXPECT_FALSE(isFinite(transformed(matrix4Inverse(bone, *info, 0.0), point)));

                        // The module hands the motion back as the host gave it.
                        double rotation[3], scale[3];
                        layout.scene.channelValue(bone, LWIP_ROTATION, 0.5, rotation);
                        layout.scene.channelValue(bone, LWIP_SCALING, 0.5, scale);
                        handlers->evaluate(0.5);
                        EXPECT_EQ(std::memcmp(motionOf(bone).rotation, rotation, sizeof rotation), 0);
                        EXPECT_EQ(std::memcmp(motionOf(bone).scaling, scale, sizeof scale), 0);
                        channel = kept;
                        if (HasFailure()) FAIL() << "level " << level << " param " << param << " axis " << axis;
                    }
        handlers->remove(instance);
    }
}

// Random rigs, some turned only about their headings, evaluated by the loaded
// module and by the Matrix4 formulation from the same item info values.
TEST_F(TransformEquivalence, TheModuleWritesTheMatrix4FormulationsMotionOverRandomRigs) {
    for (int trial = 0; trial < 150; ++trial) {
        const bool headingOnly = trial % 3 == 0, preserveVolume = trial % 2 == 0;
        LWItemID bone = chain(LWI_BONE, 1 + random() % 6, headingOnly);
        LWItemID reference = chain(LWI_OBJECT, 1 + random() % 6, headingOnly);
        const double time = trial % 4 == 0 ? 0.0 : uniform(0.0, 1.0);

        const double restLength = layout.scene.find(bone)->restLength;
        const Vec3 restTip = transformed(matrix4Inverse(reference, *info, 0.0),
                                         transformed(matrix4World(bone, *info, 0.0), {0, 0, restLength}));
        Vec3 target = transformed(matrix4World(reference, *info, time), restTip);
        target = transformed(matrix4Inverse(bone, *info, time), target);
        double rotation[3], scale[3];
        layout.scene.channelValue(bone, LWIP_ROTATION, time, rotation);
        layout.scene.channelValue(bone, LWIP_SCALING, time, scale);
        Matrix4 own;
        own.rotateHPB(rotation[0], rotation[1], rotation[2]);
        target = transformed(own, target);
        aimAngles(target, rotation);
        scale[2] = vectorLength(target) / restLength;
        if (preserveVolume) scale[0] = scale[1] = std::sqrt(1.0 / scale[2]);

        LWInstance instance = muscle(bone, reference, preserveVolume);
        handlers->evaluate(time);
        expectNear(savedOf(bone).restTip, restTip, 1e-5 * (1.0 + vectorLength(restTip)));  // saved as floats
        expectSameAim(motionOf(bone).rotation, rotation, target);
        expectNear(motionOf(bone).scaling, vec3From(scale), kTolerance);
        handlers->remove(instance);
        if (HasFailure()) FAIL() << "trial " << trial;
    }
}
