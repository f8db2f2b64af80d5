// Scenes a host can hand the module that have no sensible answer: non-finite
// and extreme values, zero-length bones, a bone that is its own reference,
// parent chains 100,000 deep and chains that loop. Nothing crashes, nothing
// non-finite reaches the scene, and where no finite answer exists the bone
// keeps the motion the host gave it.
#include <cmath>
#include <functional>
#include <limits>

#include "tests/layout_session.h"
#include "tests/muscle_scene_data.h"
#include "tests/small_stack.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

class HostileScene : public LayoutSession {
protected:
    void SetUp() override {
        LayoutSession::SetUp();
        parent = layout.scene.addItem(LWI_BONE, "Parent");
        bone = layout.scene.addItem(LWI_BONE, "Bone", parent);
        reference = layout.scene.addItem(LWI_OBJECT, "Reference");
        set(reference, LWIP_POSITION, {0, 0, 2});
        key(reference, LWIP_POSITION, 1.0, {0.5, 0.3, 3});
    }
    void set(LWItemID item, LWItemParam param, std::array<double, 3> v) { layout.scene.setValue(item, param, v.data()); }
    void key(LWItemID item, LWItemParam param, double time, std::array<double, 3> v) {
        layout.scene.setKey(item, param, time, v.data());
    }
    // The bone made a muscle of `target`, evaluated at a few times.
    void evaluateMuscle(LWItemID muscleBone, LWItemID target) {
        LWInstance instance = handlers->apply(muscleBone);
        ASSERT_NE(instance, nullptr);
        handlers->load(instance, muscleSceneData(muscleBone, target, 1, 1));
        for (double time : {0.0, 0.5, 1.0, 2.0}) handlers->evaluate(time);
        for (const host::SceneWrite& write : handlers->save(instance))
            for (double v : write.values) EXPECT_TRUE(std::isfinite(v)) << "saved " << write.type;
        EXPECT_LE(handlers->description(instance).size(), 259u);
    }
    // The motion the bone's handler left at the latest evaluation is the handler's and finite.
    void expectFiniteMotion(LWItemID item) const {
        const host::ItemMotion* motion = layout.motion.motionOf(item);
        ASSERT_NE(motion, nullptr);
        EXPECT_TRUE(motion->handled);
        for (int i = 0; i < 3; ++i) EXPECT_TRUE(std::isfinite(motion->rotation[i]) && std::isfinite(motion->scaling[i]));
        EXPECT_NE(motion->scaling[2], 1.0);  // it was stretched: the handler wrote it
    }
    void expectEveryWriteFinite() const {
        for (const host::ParamWrite& write : layout.motion.writes)
            for (double v : write.value) ASSERT_TRUE(std::isfinite(v)) << "param " << write.param << " at " << write.time;
    }

    LWItemID parent, bone, reference;
};

}  // namespace

struct Spoil {
    const char* what;
    void (*spoil)(HostileScene&);
};

class SpoiledScene : public HostileScene, public ::testing::WithParamInterface<Spoil> {
public:
    using HostileScene::bone;
    using HostileScene::key;
    using HostileScene::layout;
    using HostileScene::parent;
    using HostileScene::reference;
    using HostileScene::set;
};

TEST_P(SpoiledScene, NothingNonFiniteReachesTheScene) {
    GetParam().spoil(*this);
    evaluateMuscle(bone, reference);
    expectEveryWriteFinite();
}

const Spoil kSpoils[] = {
    {"BonePositionNaN", [](HostileScene& h) { auto& s = static_cast<SpoiledScene&>(h); s.key(s.bone, LWIP_POSITION, 0.5, {kNaN, 0, 0}); }},
    {"BoneRotationInf", [](HostileScene& h) { auto& s = static_cast<SpoiledScene&>(h); s.key(s.bone, LWIP_ROTATION, 0.5, {kInf, 0, 0}); }},
    {"BoneBankNaN", [](HostileScene& h) { auto& s = static_cast<SpoiledScene&>(h); s.key(s.bone, LWIP_ROTATION, 0.5, {0, 0, kNaN}); }},
    {"BoneScaleNaN", [](HostileScene& h) { auto& s = static_cast<SpoiledScene&>(h); s.key(s.bone, LWIP_SCALING, 0.5, {kNaN, kNaN, kNaN}); }},
    {"BoneScaleMinusInf", [](HostileScene& h) { auto& s = static_cast<SpoiledScene&>(h); s.key(s.bone, LWIP_SCALING, 0.5, {-kInf, 1, 1}); }},
    {"ParentPositionInf", [](HostileScene& h) { auto& s = static_cast<SpoiledScene&>(h); s.key(s.parent, LWIP_POSITION, 1.0, {0, -kInf, 0}); }},
    {"ParentRotationNaNAtRest", [](HostileScene& h) { auto& s = static_cast<SpoiledScene&>(h); s.set(s.parent, LWIP_ROTATION, {0, kNaN, 0}); }},
    {"ReferencePositionNaN", [](HostileScene& h) { auto& s = static_cast<SpoiledScene&>(h); s.key(s.reference, LWIP_POSITION, 0.5, {kNaN, kNaN, kNaN}); }},
    {"ReferenceRotationInfAtRest", [](HostileScene& h) { auto& s = static_cast<SpoiledScene&>(h); s.set(s.reference, LWIP_ROTATION, {kInf, 0, 0}); }},
    {"RestLengthNaN", [](HostileScene& h) { auto& s = static_cast<SpoiledScene&>(h); s.layout.scene.find(s.bone)->restLength = kNaN; }},
    {"RestLengthInf", [](HostileScene& h) { auto& s = static_cast<SpoiledScene&>(h); s.layout.scene.find(s.bone)->restLength = kInf; }},
    {"RestLengthNegative", [](HostileScene& h) { auto& s = static_cast<SpoiledScene&>(h); s.layout.scene.find(s.bone)->restLength = -2; }},
    {"ZeroLengthBone", [](HostileScene& h) { auto& s = static_cast<SpoiledScene&>(h); s.layout.scene.find(s.bone)->restLength = 0; }},
    {"HugeCoordinates", [](HostileScene& h) { auto& s = static_cast<SpoiledScene&>(h); s.set(s.reference, LWIP_POSITION, {1e300, -1e300, 1e300}); }},
    {"TinyCoordinates", [](HostileScene& h) { auto& s = static_cast<SpoiledScene&>(h); s.set(s.reference, LWIP_POSITION, {1e-300, 0, 1e-310}); }},
    {"HugeRotation", [](HostileScene& h) { auto& s = static_cast<SpoiledScene&>(h); s.set(s.bone, LWIP_ROTATION, {1e300, -1e300, 1e18}); }},
    {"TargetOnThePivot", [](HostileScene& h) { auto& s = static_cast<SpoiledScene&>(h); s.set(s.reference, LWIP_POSITION, {0, 0, 0}); }},
};
INSTANTIATE_TEST_SUITE_P(Values, SpoiledScene, ::testing::ValuesIn(kSpoils),
                         [](const ::testing::TestParamInfo<Spoil>& info) { return std::string(info.param.what); });

TEST_F(HostileScene, WhereNoFiniteAnswerExistsTheBoneKeepsTheHostsMotion) {
    key(reference, LWIP_POSITION, 0.5, {kNaN, 0, 0});
    const double motion[3] = {0.25, 0.5, 0.75};
    layout.scene.setValue(bone, LWIP_ROTATION, motion);
    evaluateMuscle(bone, reference);
    // At 0.5 the target is not a number: the motion that reaches the scene is the host's own.
    handlers->evaluate(0.5);
    const host::ItemMotion* at = layout.motion.motionOf(bone);
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(at->rotation[0], 0.25);
    EXPECT_EQ(at->rotation[1], 0.5);
    EXPECT_EQ(at->rotation[2], 0.75);
    EXPECT_EQ(at->scaling[2], 1.0);
    expectEveryWriteFinite();
}

TEST_F(HostileScene, ABoneThatIsItsOwnReferenceOrAimsAtItsParentStaysFinite) {
    set(bone, LWIP_POSITION, {0, 0, 1});
    key(parent, LWIP_ROTATION, 1.0, {0.3, 0.2, 0.1});
    evaluateMuscle(bone, bone);
    LWItemID second = layout.scene.addItem(LWI_BONE, "Second", parent);
    evaluateMuscle(second, parent);
    expectEveryWriteFinite();
}

TEST_F(HostileScene, ChainsAHundredThousandDeepOnTheHostsStack) {
    // One chain: the bone at its end, the reference hanging off its middle.
    // 32-bit builds may run under wine through qemu, whose guest heap holds
    // about 100 MB, too little for 100,000 stand-in items with their channels;
    // the chain walk has no recursion, so 20,000 deep tries the same stack.
#if defined(_WIN32) && !defined(_WIN64)
    constexpr int kDepth = 20000;
#else
    constexpr int kDepth = 100000;
#endif
    LWItemID link = nullptr, middle = nullptr;
    for (int level = 0; level < kDepth; ++level) {
        link = layout.scene.addItem(LWI_BONE, "b", link);
        if (level % 1000 == 0) set(link, LWIP_ROTATION, {1e-3, 0, 0});
        if (level == kDepth / 2) middle = link;
    }
    LWItemID deepBone = layout.scene.addItem(LWI_BONE, "bone", link);
    LWItemID deepReference = layout.scene.addItem(LWI_OBJECT, "reference", middle);
    set(deepReference, LWIP_POSITION, {0, 1, 2});
    key(link, LWIP_POSITION, 1.0, {0.1, 0.2, 0.3});
    // Without the call log, whose records for chains this deep a 32-bit host cannot hold.
    layout.log.enabled = false;
    runOnSmallStack([&] { evaluateMuscle(deepBone, deepReference); });
    expectFiniteMotion(deepBone);
}

TEST_F(HostileScene, LoopsOfEveryLengthEndInFiniteMotion) {
    // A muscle whose own chain loops, and one whose reference's chain loops after a tail.
    for (int length = 1; length <= 300; length += length < 20 ? 1 : 17) {
        std::vector<LWItemID> ring;
        for (int i = 0; i < length; ++i) {
            ring.push_back(layout.scene.addItem(LWI_BONE, "ring"));
            set(ring.back(), LWIP_POSITION, {0.1, 0.2 * i, 0.3});
            set(ring.back(), LWIP_ROTATION, {0.01 * i, 0.02, 0});
        }
        for (int i = 0; i < length; ++i) layout.scene.find(ring[i])->parent = ring[(i + 1) % length];
        LWItemID tail = layout.scene.addItem(LWI_OBJECT, "tail", ring[length / 2]);
        set(tail, LWIP_POSITION, {0, 0, 1});
        evaluateMuscle(ring[0], tail);
        evaluateMuscle(tail, ring[length - 1]);
        handlers->removeAll();
        expectEveryWriteFinite();
        // Kept small, as a 32-bit host's memory is.
        layout.log.clear();
        layout.motion.writes.clear();
    }
}

TEST_F(HostileScene, ReadMuscleOnAHundredThousandConnectedSkelegons) {
#if defined(_WIN32) && !defined(_WIN64)
    // The stand-in Modeler and Layout together cannot hold 100,000 skelegons in
    // a 32-bit process under wine; the module's chains of that depth are run
    // through the handler above.
    constexpr int kDepth = 20000;
#else
    constexpr int kDepth = 100000;
#endif
    for (int i = 0; i < kDepth; ++i) {
        const double pivot[3] = {0, 0, 0.01 * i}, tip[3] = {0, 0, 0.01 * (i + 1)};
        skelegon(("s" + std::to_string(i)).c_str(), {}, pivot, tip);
    }
    const double aside[3] = {0, 1, 0}, aboveAside[3] = {0, 1, 1};
    skelegon("Muscle", muscleTags("3", ("s" + std::to_string(kDepth - 1)).c_str()), aside, aboveAside);
    loadObject();
    ASSERT_EQ(layout.scene.find(bones[kDepth - 1])->parent, bones[kDepth - 2]);  // the chain is whole
    key(bones[0], LWIP_POSITION, 1.0, {0, 0, 0.5});
    layout.log.enabled = false;
    runOnSmallStack([&] {
        ASSERT_EQ(readMuscle(), AFUNC_OK);
        for (double time : {0.0, 1.0}) handlers->evaluate(time);
    });
    ASSERT_EQ(handlers->instances().size(), 1u);
    expectFiniteMotion(bones.back());
}
