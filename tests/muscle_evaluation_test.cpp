#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "host/geometry/item_world.h"
#include "muscle_host.h"

using namespace sinewrig;

namespace {

constexpr double kTolerance = 1e-12;

// A bone at the origin with rest length 1 and a reference item at (0, 0, 1) at
// time 0, both without parents.
struct MuscleEvaluationTest : ::testing::Test, MuscleHost {
    LWItemID bone = addBone("bone");
    LWItemID reference = add(LWI_OBJECT, "reference", nullptr, {0, 0, 1});

    void moveReference(Vec3 to, Vec3 rotation = {}) {
        key(reference, LWIP_POSITION, 1.0, to);
        key(reference, LWIP_ROTATION, 1.0, rotation);
    }
    void expectMotion(const double* actual, Vec3 expected) {
        EXPECT_NEAR(actual[0], expected.x, kTolerance);
        EXPECT_NEAR(actual[1], expected.y, kTolerance);
        EXPECT_NEAR(actual[2], expected.z, kTolerance);
    }
    std::vector<host::HostCall> callsTo(const std::string& function) const {
        std::vector<host::HostCall> calls;
        for (const host::HostCall& call : layout.log.calls)
            if (call.function == function) calls.push_back(call);
        return calls;
    }
};

}  // namespace

TEST_F(MuscleEvaluationTest, RestBindingPutsTheTipAtTheReferenceOrigin) {
    muscle(bone, reference);
    EXPECT_EQ(restBindingsEvaluating(0.0), std::vector<LWItemID>{bone});
    const SavedMuscle saved = savedOf(bone);
    EXPECT_EQ(saved.restLength, 1.0);
    EXPECT_NEAR(saved.restTip.x, 0.0, kTolerance);
    EXPECT_NEAR(saved.restTip.y, 0.0, kTolerance);
    EXPECT_NEAR(saved.restTip.z, 0.0, kTolerance);
    EXPECT_TRUE(restBindingsEvaluating(0.5).empty());  // bound, so not again
}

TEST_F(MuscleEvaluationTest, StretchesTowardsAReferenceMovedAlongTheBone) {
    moveReference({0, 0, 2});
    LWInstance plain = muscle(bone, reference);
    handlers->evaluate(1.0);
    expectMotion(motionOf(bone).rotation, {0, 0, 0});
    expectMotion(motionOf(bone).scaling, {1, 1, 2});

    handlers->remove(plain);
    muscle(bone, reference, true);
    handlers->evaluate(1.0);
    expectMotion(motionOf(bone).scaling, {0.7071067811865476, 0.7071067811865476, 2});
}

TEST_F(MuscleEvaluationTest, TurnsTowardsAReferenceMovedSideways) {
    moveReference({1, 0, 1});
    const double bank[3] = {0, 0, 0.25};
    layout.scene.setValue(bone, LWIP_ROTATION, bank);
    muscle(bone, reference);
    handlers->evaluate(1.0);
    // The target is seen along the bone's parent axes: the bank turns it back.
    expectMotion(motionOf(bone).rotation, {0.7853981633974483, 0, 0.25});
    EXPECT_NEAR(motionOf(bone).scaling[2], 1.4142135623730951, kTolerance);
}

TEST_F(MuscleEvaluationTest, KeepsTheMotionsBankAndCrossSectionWithoutPreserveVolume) {
    moveReference({0, 0, 2});
    const double rotation[3] = {0, 0, 0.3}, scale[3] = {2, 3, 5};
    layout.scene.setValue(bone, LWIP_ROTATION, rotation);
    layout.scene.setValue(bone, LWIP_SCALING, scale);
    muscle(bone, reference);
    handlers->evaluate(1.0);
    EXPECT_EQ(motionOf(bone).rotation[2], 0.3);
    EXPECT_EQ(motionOf(bone).scaling[0], 2.0);
    EXPECT_EQ(motionOf(bone).scaling[1], 3.0);
    EXPECT_NEAR(motionOf(bone).scaling[2], 2.0, kTolerance);
}

TEST_F(MuscleEvaluationTest, WithoutReferenceWritesNothingButStillBindsAndTakesTheItem) {
    LWInstance instance = muscle(bone, nullptr);
    layout.scene.find(bone)->restLength = 4.0;
    layout.log.clear();
    handlers->evaluate(1.0);
    EXPECT_TRUE(callsTo("setParam").empty());
    EXPECT_TRUE(callsTo("getParam").empty());
    for (const host::HostCall& call : layout.log.calls) EXPECT_NE(call.item, nullptr) << call.function;
    EXPECT_EQ(savedOf(bone).restLength, 4.0);
    EXPECT_TRUE(restBindingsEvaluating(1.0).empty());

    // Renumbered away from its item, the record is not found by the rest
    // binding; the instance keeps it, and evaluation gives it its item back.
    handlers->changeIDs({{bone, reference}});
    handlers->load(instance, muscleData(reference, nullptr));
    layout.scene.find(reference)->restLength = 7.0;
    handlers->evaluate(1.0);
    EXPECT_EQ(savedOf(bone).restLength, 7.0);  // read for the bone ID the record held
    EXPECT_EQ(handlers->useItems(instance), (std::vector<LWItemID>{bone}));
}

TEST_F(MuscleEvaluationTest, ReadsTwiceAndWritesRotationThenScaleButNeverThePosition) {
    moveReference({0, 0, 2});
    muscle(bone, reference);
    handlers->evaluate(0.0);
    layout.log.clear();
    handlers->evaluate(1.0);
    std::vector<std::pair<std::string, int>> access;
    for (const host::HostCall& call : layout.log.calls)
        if (call.function == "getParam" || call.function == "setParam") {
            access.emplace_back(call.function, call.param);
            EXPECT_EQ(call.time, 1.0);
            EXPECT_EQ(call.item, bone);
        }
    EXPECT_EQ(access, (std::vector<std::pair<std::string, int>>{{"getParam", LWIP_ROTATION},
                                                                 {"getParam", LWIP_SCALING},
                                                                 {"setParam", LWIP_ROTATION},
                                                                 {"setParam", LWIP_SCALING}}));
}

TEST_F(MuscleEvaluationTest, FirstEvaluationAfterLoadRecomputesTheRestData) {
    LWInstance instance = handlers->apply(bone);
    handlers->load(instance, muscleData(bone, reference, 0, 1, 9.0f, {5, 5, 5}));
    handlers->evaluate(0.0);
    EXPECT_EQ(savedOf(bone).restLength, 1.0);
    EXPECT_NEAR(savedOf(bone).restTip.x, 0.0, kTolerance);
    EXPECT_NEAR(savedOf(bone).restTip.z, 0.0, kTolerance);
    expectMotion(motionOf(bone).scaling, {1, 1, 1});
}

TEST_F(MuscleEvaluationTest, TheTargetMovesAndTurnsWithTheReference) {
    set(reference, LWIP_POSITION, {0, 0, 2});  // the rest tip is (0, 0, -1) from the reference
    moveReference({0, 0, 2}, {std::acos(-1.0) / 2, 0, 0});
    muscle(bone, reference);
    handlers->evaluate(1.0);
    // Turned a quarter about the reference's origin, the target sits at (-1, 0, 2).
    expectMotion(motionOf(bone).rotation, {std::atan2(-1.0, 2.0), 0, 0});
    EXPECT_NEAR(motionOf(bone).scaling[2], std::sqrt(5.0), kTolerance);
}

TEST_F(MuscleEvaluationTest, NoUsableRestLengthOrATargetOnThePivotLeavesTheScale) {
    moveReference({0, 0, 2});
    const double scale[3] = {2, 3, 5};
    layout.scene.setValue(bone, LWIP_SCALING, scale);
    for (double restLength : {0.0, -1.0, std::nan(""), HUGE_VAL}) {
        layout.scene.find(bone)->restLength = restLength;
        LWInstance instance = muscle(bone, reference, true);
        handlers->evaluate(1.0);
        expectMotion(motionOf(bone).scaling, {2, 3, 5});
        expectMotion(motionOf(bone).rotation, {0, 0, 0});
        handlers->remove(instance);
    }

    // Rest length 1 but the target comes to the bone's pivot.
    layout.scene.find(bone)->restLength = 1.0;
    moveReference({0, 0, 0});
    muscle(bone, reference, true);
    handlers->evaluate(1.0);
    const host::ItemMotion& motion = motionOf(bone);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(std::isfinite(motion.rotation[i]) && std::isfinite(motion.scaling[i]));
    EXPECT_EQ(motion.scaling[0], 2.0);
    EXPECT_EQ(motion.scaling[1], 3.0);
    EXPECT_EQ(motion.scaling[2], 0.0);
}

TEST_F(MuscleEvaluationTest, NonFiniteHostValuesHandTheMotionBackUnchanged) {
    const double scale[3] = {2, 3, 5};
    layout.scene.setValue(bone, LWIP_SCALING, scale);
    set(bone, LWIP_ROTATION, {0.1, 0.2, 0.3});
    muscle(bone, reference, true);
    handlers->evaluate(0.0);
    for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        moveReference({bad, 0, 1});
        layout.log.clear();
        handlers->evaluate(1.0);
        expectMotion(motionOf(bone).rotation, {0.1, 0.2, 0.3});
        expectMotion(motionOf(bone).scaling, {2, 3, 5});
        int setParams = 0;
        for (const host::HostCall& call : layout.log.calls) setParams += call.function == "setParam";
        EXPECT_EQ(setParams, 2);
    }
}

// Over random parent chains of bone and reference, the bone's tip (its pivot,
// the written rotation and the stretched length) lands on the target point.
TEST_F(MuscleEvaluationTest, TheTipLandsOnTheTargetOverRandomParentChains) {
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> coord(-3.0, 3.0), angle(-3.0, 3.0), length(0.5, 2.0);
    std::uniform_int_distribution<int> depth(0, 5);
    auto randomVec = [&](std::uniform_real_distribution<double>& d) { return Vec3{d(random), d(random), d(random)}; };
    auto chain = [&](LWItemType type, int levels) {
        LWItemID item = nullptr;
        for (int level = 0; level <= levels; ++level) {
            item = add(type, "link", item, randomVec(coord), randomVec(angle), length(random));
            key(item, LWIP_POSITION, 1.0, randomVec(coord));
            key(item, LWIP_ROTATION, 1.0, randomVec(angle));
        }
        return item;
    };
    for (int trial = 0; trial < 100; ++trial) {
        LWItemID muscleBone = chain(LWI_BONE, depth(random));
        LWItemID target = chain(LWI_OBJECT, depth(random));
        LWInstance instance = muscle(muscleBone, target, trial % 2 == 0);
        const double time = trial % 3 == 0 ? 0.0 : 0.6;
        // The rest tip in the target's frame, from the items' channels at time 0.
        const double restLength = layout.scene.find(muscleBone)->restLength;
        const host::Vector3 restTip =
            host::apply(host::inverse(host::itemWorldTransform(layout, target, 0.0)),
                        host::apply(host::itemWorldTransform(layout, muscleBone, 0.0), {0, 0, restLength}));
        handlers->evaluate(time);

        const host::Vector3 goal = host::apply(host::itemWorldTransform(layout, target, time), restTip);
        // The stand-in now reports the bone's written motion.
        const host::Vector3 tip = host::apply(host::itemWorldTransform(layout, muscleBone, time),
                                              {0, 0, restLength * motionOf(muscleBone).scaling[2]});
        EXPECT_NEAR(tip[0], goal[0], 1e-9) << trial;
        EXPECT_NEAR(tip[1], goal[1], 1e-9) << trial;
        EXPECT_NEAR(tip[2], goal[2], 1e-9) << trial;
        if (trial % 2 == 0) {
            const double* s = motionOf(muscleBone).scaling;
            EXPECT_NEAR(s[0] * s[1] * s[2], 1.0, 1e-12) << trial;
        }
        handlers->remove(instance);
    }
}

TEST_F(MuscleEvaluationTest, HandlersNotAfterIKRunFirstAndParentsBeforeChildren) {
    LWItemID child = addBone("child", {0, 0, 1}, 1.0, bone);
    LWItemID late = addBone("late", {3, 0, 0});
    muscle(late, reference, false, true);
    muscle(child, reference, false, false);
    muscle(bone, reference, false, false);
    layout.log.clear();
    handlers->evaluate(0.0);
    std::vector<LWItemID> order;
    for (const host::HostCall& call : callsTo("setParam"))
        if (call.param == LWIP_SCALING) order.push_back(call.item);
    EXPECT_EQ(order, (std::vector<LWItemID>{bone, child, late}));
}
