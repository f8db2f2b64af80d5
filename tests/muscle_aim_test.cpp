// How a muscle is turned onto its target, through the loaded module: the
// centre-plane seam of heading and pitch, and the aim control's shortest turn.
// Expected rotations are built with the stand-in's own geometry and a
// quaternion turn written here, never with the module's arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>
#include <random>

#include "host/geometry/item_world.h"
#include "host/geometry/rigid_transform.h"
#include "tests/muscle_host.h"

namespace {

using host::Rotation3;
using host::Vector3;

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180;

Vector3 minus(const Vector3& a, const Vector3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vector3 times(double s, const Vector3& v) { return {s * v[0], s * v[1], s * v[2]}; }
double dotOf(const Vector3& a, const Vector3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vector3 crossOf(const Vector3& a, const Vector3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Vector3 unit(const Vector3& v) { return times(1 / std::sqrt(dotOf(v, v)), v); }

// v turned by angle a about the unit axis k, right-handed, as the quaternion
// (cos a/2, k sin a/2) turns it.
Vector3 quaternionTurn(const Vector3& v, const Vector3& k, double a) {
    const double w = std::cos(a / 2);
    const Vector3 u = times(std::sin(a / 2), k), uv = crossOf(u, v), uuv = crossOf(u, uv);
    return {v[0] + 2 * w * uv[0] + 2 * uuv[0], v[1] + 2 * w * uv[1] + 2 * uuv[1], v[2] + 2 * w * uv[2] + 2 * uuv[2]};
}

// The motion's rotation followed by `share` of the smallest turn taking its
// forward axis (row 2) onto d: each of its axes turned in the parent's axes.
Rotation3 expectedSwing(const Rotation3& motion, const Vector3& d, double share) {
    const Vector3 f = motion[2], across = crossOf(f, d);
    const double angle = std::atan2(std::sqrt(dotOf(across, across)), dotOf(f, unit(d)) * std::sqrt(dotOf(d, d)));
    const Vector3 axis = unit(across);
    Rotation3 r;
    for (int row = 0; row < 3; ++row) r[row] = quaternionTurn(motion[row], axis, share * angle);
    return r;
}

double largestDifference(const Rotation3& a, const Rotation3& b) {
    double most = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) most = std::max(most, std::abs(a[i][j] - b[i][j]));
    return most;
}

// The muscle controls' extension at its defaults but for influence and aim,
// whose byte is written only when it is not 0.
host::SceneData withAim(host::SceneData data, unsigned aim, float influence = 1.0f) {
    return withControls(std::move(data),
                        {.influence = influence, .aim = aim != 0 ? std::optional<unsigned>(aim) : std::nullopt});
}

// A muscle bone under a parent that moves and pitches, aiming at a reference
// object with no parent. Pitch alone keeps the parent's x axis exact, so a
// target placed on the world's x = 0 plane is on the parent's too.
struct AimScene : MuscleHost, ::testing::Test {
    LWItemID parent = nullptr, bone = nullptr, reference = nullptr;
    LWInstance instance = nullptr;

    void SetUp() override {
        parent = layout.scene.addItem(LWI_BONE, "Thigh", nullptr);
        bone = layout.scene.addItem(LWI_BONE, "Calf", parent);
        reference = layout.scene.addItem(LWI_OBJECT, "Foot", nullptr);
        channel(parent, LWIP_POSITION, 0.0, {0.0, 1.0, 0.2});
        channel(parent, LWIP_POSITION, 1.0, {0.0, 0.8, 0.5});
        channel(parent, LWIP_ROTATION, 0.0, {0, -0.3, 0});
        channel(parent, LWIP_ROTATION, 1.0, {0, 0.7, 0});
        channel(bone, LWIP_POSITION, 0.0, {0.0, 0.1, 0.4});
    }
    void channel(LWItemID item, LWItemParam param, double time, const Vector3& value) {
        layout.scene.setKey(item, param, time, value.data());
    }
    // The target straight at `d` from the bone's pivot, in the parent's axes at
    // time 1: the reference carries the bone's rest tip, which is its origin.
    void aimAt(const Vector3& d) {
        const host::RigidTransform parentWorld = host::itemWorldTransform(layout, parent, 1.0);
        Vector3 position;
        layout.scene.channelValue(bone, LWIP_POSITION, 1.0, position.data());
        const Vector3 pivot = host::apply(parentWorld, position), offset = host::rotate(d, parentWorld.rotation);
        channel(reference, LWIP_POSITION, 1.0, {pivot[0] + offset[0], pivot[1] + offset[1], pivot[2] + offset[2]});
    }
    // A fresh muscle whose reference's origin is on the bone's tip at time 0.
    void muscle(unsigned aim, float influence = 1.0f) {
        const Vector3 tip =
            host::apply(host::itemWorldTransform(layout, bone, 0.0), {0, 0, layout.scene.find(bone)->restLength});
        channel(reference, LWIP_POSITION, 0.0, tip);
        if (instance) handlers->remove(instance);
        instance = handlers->apply(bone);
        ASSERT_NE(instance, nullptr);
        handlers->load(instance, withAim(muscleData(bone, reference), aim, influence));
    }
    const host::ItemMotion& at(double time) {
        handlers->evaluate(time);
        return motionOf(bone);
    }
    static Rotation3 matrix(const double rotation[3]) {
        return host::rotationFromHPB(rotation[0], rotation[1], rotation[2]);
    }
};

TEST_F(AimScene, OnTheCentrePlaneATargetBehindTurnsHeadingHalfWayRoundAsATargetAHairBesideIt) {
    // Behind and above, behind and below, straight behind: heading pi, pitch -atan2(y, -z).
    const struct {
        Vector3 d;
        double pitch;
    } cases[] = {{{0.0, 0.02, -0.25}, -4.573921259900861 * kDegree},
                 {{0.0, 1.0, -1.0}, -kPi / 4},
                 {{0.0, -1.0, -1.0}, kPi / 4},
                 {{0.0, 0.0, -4.0}, 0.0}};
    muscle(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.d[1] << ", " << c.d[2]);
        aimAt(c.d);
        const host::ItemMotion& motion = at(1.0);
        EXPECT_NEAR(std::abs(motion.rotation[0]), kPi, 1e-9);
        EXPECT_NEAR(motion.rotation[1], c.pitch, 1e-9);
        EXPECT_EQ(motion.rotation[2], 0.0);
    }
    // The same turn, as a matrix, on the plane and a hair to either side of it.
    for (double y : {0.02, -0.3, 0.0}) {
        aimAt({0.0, y, -0.25});
        const Rotation3 centre = matrix(at(1.0).rotation);
        for (double x : {-1e-15, -0.0, 1e-15, -1e-9, 1e-9}) {
            SCOPED_TRACE(testing::Message() << "x " << x << ", y " << y);
            aimAt({x, y, -0.25});
            EXPECT_LT(largestDifference(matrix(at(1.0).rotation), centre), 1e-8);
        }
    }
}

TEST_F(AimScene, AShortestTurnSwingsTheMotionOntoTheTargetByTheShareOfItsAngle) {
    // Random rigs: the parent's channels, the bone's motion and the target all random.
    std::mt19937 random(2025);
    std::uniform_real_distribution<double> angle(-kPi, kPi), coordinate(-2.0, 2.0), length(0.3, 2.0);
    for (int rig = 0; rig < 200; ++rig) {
        SCOPED_TRACE("rig " + std::to_string(rig));
        const Vector3 motion = {angle(random), angle(random) / 2, angle(random)};
        channel(parent, LWIP_ROTATION, 0.0, {angle(random), angle(random), angle(random)});
        channel(parent, LWIP_ROTATION, 1.0, {angle(random), angle(random), angle(random)});
        channel(parent, LWIP_POSITION, 1.0, {coordinate(random), coordinate(random), coordinate(random)});
        channel(bone, LWIP_ROTATION, 0.0, {angle(random), angle(random), angle(random)});
        channel(bone, LWIP_ROTATION, 1.0, motion);
        layout.scene.find(bone)->restLength = length(random);
        const Vector3 d = {coordinate(random), coordinate(random), coordinate(random)};
        aimAt(d);
        const Rotation3 own = host::rotationFromHPB(motion[0], motion[1], motion[2]);
        for (float share : {1.0f, 0.5f}) {
            muscle(1, share);
            const Rotation3 written = matrix(at(1.0).rotation);
            EXPECT_LT(largestDifference(written, expectedSwing(own, d, share)), 1e-9) << "share " << share;
            if (share == 1.0f) {
                const Vector3 along = unit(d);
                for (int axis = 0; axis < 3; ++axis) EXPECT_NEAR(written[2][axis], along[axis], 1e-12);
            }
        }
    }
}

TEST_F(AimScene, StraightBehindTheBoneTheShortestTurnIsAHalfTurnAboutItsOwnY) {
    // The motion points the bone along the parent's +Z, banked; the target is behind it.
    const double bank = 0.6;
    channel(bone, LWIP_ROTATION, 1.0, {0, 0, bank});
    const Rotation3 own = host::rotationFromHPB(0, 0, bank);
    const Vector3 x = own[0], y = own[1];
    for (const Vector3& d : {Vector3{0, 0, -2}, Vector3{1e-13, -2e-13, -0.5}}) {
        SCOPED_TRACE(testing::Message() << d[0] << ", " << d[1]);
        aimAt(d);
        muscle(1);
        // Right-handed about Y: X goes to -X, Y stays, Z goes to -Z.
        const Rotation3 halfTurn = {{{-x[0], -x[1], -x[2]}, y, {0, 0, -1}}};
        EXPECT_LT(largestDifference(matrix(at(1.0).rotation), halfTurn), 1e-12);
        // Half of it: a quarter turn, which carries the bone's forward axis onto its own +X.
        muscle(1, 0.5f);
        const Rotation3 quarter = matrix(at(1.0).rotation);
        EXPECT_LT(largestDifference(quarter, {{{0, 0, -1}, y, x}}), 1e-12);
    }
}

TEST_F(AimScene, ThroughTheVerticalTheShortestTurnNeverJumpsWhereHeadingAndPitchDo) {
    // The target swept over the top of the pivot, from ahead to behind, in
    // 1/1000 steps: exactly through straight up, and a thousandth beside it.
    channel(bone, LWIP_ROTATION, 1.0, {0.2, -0.9, 0.3});
    for (double beside : {0.0, 1e-3}) {
        double jumpOfHeadingAndPitch = 0;
        for (unsigned aim : {1u, 0u}) {
            SCOPED_TRACE(testing::Message() << "beside " << beside << ", aim " << aim);
            muscle(aim);
            double largest = 0;
            Rotation3 before{};
            for (int step = 0; step <= 1000; ++step) {
                const double a = kPi / 4 + step * (kPi / 2) / 1000;  // from 45 degrees ahead to 45 behind
                aimAt({beside, std::sin(a), std::cos(a)});
                const Rotation3 now = matrix(at(1.0).rotation);
                if (aim == 1) {
                    const Vector3 along = unit({beside, std::sin(a), std::cos(a)});
                    for (int axis = 0; axis < 3; ++axis) ASSERT_NEAR(now[2][axis], along[axis], 1e-12) << step;
                }
                if (step > 0) largest = std::max(largest, largestDifference(now, before));
                before = now;
            }
            if (aim == 1)
                EXPECT_LT(largest, 0.005);  // a step turns the target by pi/2000
            else
                jumpOfHeadingAndPitch = largest;
        }
        EXPECT_GT(jumpOfHeadingAndPitch, 0.5) << "heading and pitch should roll the bone over at the top";
    }
}

TEST_F(AimScene, TheScaleIsTheDefaultModesToTheBit) {
    channel(bone, LWIP_ROTATION, 1.0, {0.4, 0.1, -0.2});
    channel(bone, LWIP_SCALING, 1.0, {1.5, 0.5, 2.0});
    for (float share : {1.0f, 0.5f})
        for (const Vector3& d : {Vector3{0.3, 1.2, -0.4}, Vector3{0, 0, 0}}) {
            SCOPED_TRACE(testing::Message() << "share " << share << ", d " << d[0]);
            aimAt(d);
            muscle(0, share);
            const host::ItemMotion heading = at(1.0);
            muscle(1, share);
            const host::ItemMotion swung = at(1.0);
            EXPECT_EQ(std::memcmp(heading.scaling, swung.scaling, sizeof swung.scaling), 0);
        }
}

TEST_F(AimScene, AtThePivotTheMotionsOwnRotationIsWritten) {
    // Items unturned at rest, at places a double holds exactly, so the target lands on the pivot to the bit.
    channel(bone, LWIP_ROTATION, 0.0, {0, 0, 0});
    for (double time : {0.0, 1.0}) {
        channel(parent, LWIP_ROTATION, time, {0, 0, 0});
        channel(parent, LWIP_POSITION, time, {0.5, 0.75, -0.25});
        channel(bone, LWIP_POSITION, time, {0.0, 0.125, 0.25});
    }
    const double motion[3] = {2.5, -1.2, 0.7};
    layout.scene.setKey(bone, LWIP_ROTATION, 1.0, motion);
    channel(reference, LWIP_POSITION, 1.0, {0.5, 0.875, 0.0});
    muscle(1);
    EXPECT_EQ(std::memcmp(at(1.0).rotation, motion, sizeof motion), 0);
}

TEST_F(AimScene, WithoutARestLengthTheBoneIsStillSwungOntoItsTarget) {
    layout.scene.find(bone)->restLength = 0.0;
    channel(bone, LWIP_ROTATION, 1.0, {0.3, 0.2, 0.1});
    channel(bone, LWIP_SCALING, 1.0, {1.0, 2.0, 3.0});
    const Vector3 d = {0.5, -0.5, 0.2};
    aimAt(d);
    muscle(1);
    const host::ItemMotion& motion = at(1.0);
    const Vector3 along = unit(d), forward = matrix(motion.rotation)[2];
    for (int axis = 0; axis < 3; ++axis) EXPECT_NEAR(forward[axis], along[axis], 1e-12);
    EXPECT_EQ((Vector3{motion.scaling[0], motion.scaling[1], motion.scaling[2]}), (Vector3{1.0, 2.0, 3.0}));
}

TEST_F(AimScene, ANonFiniteMotionIsLeftAsTheHostGaveItInEitherMode) {
    aimAt({0.2, 0.3, 1.0});
    for (double bad : {std::nan(""), HUGE_VAL}) {
        channel(bone, LWIP_ROTATION, 1.0, {0.1, bad, 0.2});
        for (unsigned aim : {0u, 1u}) {
            muscle(aim);
            layout.motion.writes.clear();
            const host::ItemMotion& motion = at(1.0);
            for (const host::ParamWrite& write : layout.motion.writes)
                EXPECT_NE(write.param, LWIP_ROTATION) << "aim " << aim << " wrote a rotation for a motion of " << bad;
            EXPECT_EQ(motion.rotation[0], 0.1);
            EXPECT_TRUE(std::isfinite(motion.scaling[2]));
        }
    }
}

// The scene data: the six values and the extension as before, the aim byte
// after it only for the shortest turn; odd aim bytes load as heading and pitch.
TEST_F(AimScene, TheShortestTurnAloneSavesTheExtensionAtItsDefaultsAndOneAimByte) {
    muscle(1);
    const host::SceneData saved = handlers->save(instance);
    ASSERT_EQ(saved.size(), 13u);
    EXPECT_EQ(host::SceneData(saved.begin() + 6, saved.end()),
              controlsSceneData({.aim = 1}));
    // Heading and pitch with another control set: the extension without the aim byte.
    muscle(0, 0.25f);
    EXPECT_EQ(handlers->save(instance).size(), 12u);
    // And at every default, the six values alone.
    muscle(0);
    EXPECT_EQ(handlers->save(instance).size(), 6u);
}

TEST_F(AimScene, AnAimByteOtherThanOneOrNoneLoadsAsHeadingAndPitch) {
    aimAt({0.3, 0.9, 0.1});
    channel(bone, LWIP_ROTATION, 1.0, {0.5, 0.2, 0.4});
    muscle(0);
    const host::ItemMotion plain = at(1.0);
    for (unsigned odd : {0u, 2u, 255u}) {
        SCOPED_TRACE("aim byte " + std::to_string(odd));
        host::SceneData data = withAim(muscleData(bone, reference), 1);
        data.back().values = {double(odd)};
        handlers->load(instance, data);
        EXPECT_EQ(handlers->save(instance).size(), 6u);
        EXPECT_EQ(std::memcmp(at(1.0).rotation, plain.rotation, sizeof plain.rotation), 0);
    }
    // A byte of another type where the aim belongs, or a block cut before it.
    host::SceneData retyped = withAim(muscleData(bone, reference), 1);
    retyped.back().type = "FP";
    handlers->load(instance, retyped);
    EXPECT_EQ(handlers->save(instance).size(), 6u);
    handlers->load(instance, withAim(muscleData(bone, reference), 0));
    EXPECT_EQ(handlers->save(instance).size(), 6u);
}

TEST_F(AimScene, TheAimSurvivesSaveLoadAndACopy) {
    muscle(1, 0.75f);
    const host::SceneData saved = handlers->save(instance);
    ASSERT_EQ(saved.size(), 13u);
    LWInstance second = handlers->apply(bone);
    ASSERT_EQ(handlers->load(second, saved), nullptr);
    EXPECT_EQ(host::sceneDataLines(handlers->save(second)), host::sceneDataLines(saved));
    const std::vector<LWInstance> copies = handlers->instancesOf(handlers->cloneItem(bone));
    ASSERT_EQ(copies.size(), 2u);
    const host::SceneData copied = handlers->save(copies[0]);
    ASSERT_EQ(copied.size(), 13u);
    EXPECT_EQ(host::SceneData(copied.begin() + 6, copied.end()), host::SceneData(saved.begin() + 6, saved.end()));
}

}  // namespace
