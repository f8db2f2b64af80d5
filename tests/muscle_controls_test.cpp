// The muscle controls beyond preserve volume and after IK (volume axes, bulge,
// stretch limits, influence), seen as the host sees them: scene data written
// by hand into the loaded module, the motion it hands back, what it saves, and
// the options panel it builds. Expected values come from the formulas, not
// from the module.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/layout/layout.h"
#include "host/layout/motion_handlers.h"
#include "host/process/module_file.h"
#include "tests/cp932_text.h"
#include "tests/muscle_scene_data.h"

namespace {

constexpr double kTolerance = 1e-12;
constexpr double kPi = 3.14159265358979323846;

// The six values and the first `writes` of the extension's.
host::SceneData withExtension(host::SceneData data, const ControlsExtension& e, std::size_t writes = 6) {
    const host::SceneData extension = controlsSceneData(e);
    data.insert(data.end(), extension.begin(), extension.begin() + writes);
    return data;
}

// A bone of rest length 1 at the origin aiming along +Z at a reference object
// whose origin is the bone's tip at time 0; at time 1 the reference has moved.
struct MuscleControls : ::testing::Test {
    host::Layout layout;
    std::unique_ptr<host::ModuleFile> module;
    std::unique_ptr<host::MotionHandlers> handlers;
    LWItemID bone = nullptr, reference = nullptr;

    void SetUp() override {
        std::string error;
        module = host::ModuleFile::load(SINEWRIG_MODULE_FILE, error);
        ASSERT_TRUE(module) << error;
        handlers = std::make_unique<host::MotionHandlers>(layout, *module);
        bone = layout.scene.addItem(LWI_BONE, "bone", nullptr);
        layout.scene.find(bone)->restLength = 1.0;
        reference = layout.scene.addItem(LWI_OBJECT, "reference", nullptr);
        const double atTip[3] = {0, 0, 1};
        layout.scene.setKey(reference, LWIP_POSITION, 0.0, atTip);
    }
    void TearDown() override {
        for (const std::string& problem : layout.problems()) ADD_FAILURE() << problem;
        handlers.reset();
    }

    void moveReference(double x, double y, double z) {
        const double to[3] = {x, y, z};
        layout.scene.setKey(reference, LWIP_POSITION, 1.0, to);
    }
    // The bone's own motion at time 1; at rest (time 0) it is unturned and unscaled.
    void boneMotion(LWItemParam param, double a, double b, double c) {
        const double atRest[3] = {0, 0, 0}, unscaled[3] = {1, 1, 1}, value[3] = {a, b, c};
        layout.scene.setKey(bone, param, 0.0, param == LWIP_SCALING ? unscaled : atRest);
        layout.scene.setKey(bone, param, 1.0, value);
    }
    LWInstance muscleFrom(const host::SceneData& data) {
        LWInstance instance = handlers->apply(bone);
        EXPECT_NE(instance, nullptr);
        if (instance) {
            EXPECT_EQ(handlers->load(instance, data), nullptr);
        }
        return instance;
    }
    host::SceneData plain(bool preserveVolume = true) const {
        return muscleSceneData(bone, reference, preserveVolume ? 1 : 0, 1);
    }
    const host::ItemMotion& motionAt(double time) {
        handlers->evaluate(time);
        static const host::ItemMotion none;
        const host::ItemMotion* motion = layout.motion.motionOf(bone);
        return motion ? *motion : none;
    }
    static void expectNear(const double* actual, double x, double y, double z) {
        EXPECT_NEAR(actual[0], x, kTolerance);
        EXPECT_NEAR(actual[1], y, kTolerance);
        EXPECT_NEAR(actual[2], z, kTolerance);
    }
};

TEST_F(MuscleControls, BulgeAndVolumeAxesThinTheChosenAxesByTheStretchToTheBulge) {
    moveReference(0, 0, 2);  // stretch z = 2
    boneMotion(LWIP_SCALING, 1.5, 3.0, 1.0);
    const double z = 2.0;
    struct Case {
        float bulge;
        unsigned axes;
        double x, y;
    } cases[] = {
        {1.0f, 0, std::sqrt(1 / z), std::sqrt(1 / z)},                        // volume kept, as without controls
        {2.5f, 0, std::sqrt(std::pow(1 / z, 2.5)), std::sqrt(std::pow(1 / z, 2.5))},
        {0.0f, 0, 1.0, 1.0},                                                  // no thinning at all
        {2.0f, 1, std::pow(1 / z, 2.0), 3.0},                                 // X only: y as the motion gave it
        {0.5f, 2, 1.5, std::pow(1 / z, 0.5)},                                 // Y only: x as the motion gave it
        {10.0f, 1, std::pow(1 / z, 10.0), 3.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("bulge " + std::to_string(c.bulge) + ", axes " + std::to_string(c.axes));
        ControlsExtension e;
        e.bulge = c.bulge;
        e.volumeAxes = c.axes;
        LWInstance instance = muscleFrom(withExtension(plain(), e));
        expectNear(motionAt(1.0).scaling, c.x, c.y, z);
        handlers->remove(instance);
    }
}

TEST_F(MuscleControls, StretchLimitsHoldTheLengthScaleWhileTheAimStillPointsAtTheTarget) {
    moveReference(1, 0, 1);  // heading 45 degrees, distance sqrt 2
    const double distance = std::sqrt(2.0);
    struct Case {
        float stretchMin, stretchMax;
        double z;
    } cases[] = {
        {2.0f, 0.0f, 2.0},        // raised to the floor: the bone passes the target
        {0.0f, 1.25f, 1.25},      // lowered to the ceiling: it falls short
        {3.0f, 1.5f, 1.5},        // crossed: the maximum wins
        {0.5f, 4.0f, distance},   // within both: untouched
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("min " + std::to_string(c.stretchMin) + ", max " + std::to_string(c.stretchMax));
        ControlsExtension e;
        e.stretchMin = c.stretchMin;
        e.stretchMax = c.stretchMax;
        LWInstance instance = muscleFrom(withExtension(plain(), e));
        const host::ItemMotion& motion = motionAt(1.0);
        expectNear(motion.rotation, kPi / 4, 0, 0);
        // Thinning follows the limited length.
        expectNear(motion.scaling, std::sqrt(1 / c.z), std::sqrt(1 / c.z), c.z);
        handlers->remove(instance);
    }
}

TEST_F(MuscleControls, InfluenceBlendsFromTheMotionTheShortWayRound) {
    moveReference(1, 0, 1);  // aimed heading pi/4, pitch 0, z = sqrt 2
    const double motionHeading = -2.8, motionPitch = 0.2, bank = 0.1;
    boneMotion(LWIP_ROTATION, motionHeading, motionPitch, bank);
    boneMotion(LWIP_SCALING, 2.0, 1.0, 0.5);
    const double w = 0.25, z = std::sqrt(2.0), thin = std::sqrt(1 / z);
    // pi/4 - (-2.8) is more than pi: the short way goes down through -pi.
    const double headingStep = kPi / 4 - motionHeading - 2 * kPi;
    ControlsExtension e;
    e.influence = float(w);
    muscleFrom(withExtension(plain(), e));
    const host::ItemMotion& motion = motionAt(1.0);
    expectNear(motion.rotation, motionHeading + w * headingStep, motionPitch + w * (0 - motionPitch), bank);
    expectNear(motion.scaling, 2.0 + w * (thin - 2.0), 1.0 + w * (thin - 1.0), 0.5 + w * (z - 0.5));
}

TEST_F(MuscleControls, EverySettingTogether) {
    moveReference(0, 0, 3);  // z = 3 before the limits
    boneMotion(LWIP_SCALING, 1.0, 2.0, 1.0);
    const double w = 0.6, z = 2.5, t = std::pow(1 / z, 3.0);
    ControlsExtension e{3.0f, 2, 0.5f, 2.5f, float(w)};
    muscleFrom(withExtension(plain(), e));
    const host::ItemMotion& motion = motionAt(1.0);
    expectNear(motion.rotation, 0, 0, 0);
    expectNear(motion.scaling, 1.0, 2.0 + double(float(w)) * (t - 2.0), 1.0 + double(float(w)) * (z - 1.0));
}

TEST_F(MuscleControls, OutOfRangeAndNonFiniteValuesAreBroughtIntoRangeOnLoad) {
    moveReference(0, 0, 2);
    // Bulge above 10, axes beyond "Y", a negative floor, NaN ceiling, influence above 1.
    ControlsExtension e{40.0f, 7, -3.0f, std::nanf(""), 5.0f};
    LWInstance instance = muscleFrom(withExtension(plain(), e));
    const host::SceneData saved = handlers->save(instance);
    ASSERT_EQ(saved.size(), 12u);
    EXPECT_EQ(saved[7], (host::SceneWrite{"FP", {10.0}}));
    EXPECT_EQ(saved[8], (host::SceneWrite{"U1", {2.0}}));
    EXPECT_EQ(saved[9], (host::SceneWrite{"FP", {0.0}}));
    EXPECT_EQ(saved[10], (host::SceneWrite{"FP", {0.0}}));
    EXPECT_EQ(saved[11], (host::SceneWrite{"FP", {1.0}}));
    boneMotion(LWIP_SCALING, 4.0, 1.0, 1.0);
    expectNear(motionAt(1.0).scaling, 4.0, std::pow(0.5, 10.0), 2.0);
}

TEST_F(MuscleControls, ACutExtensionGivesTheDefaultsForWhatIsMissing) {
    moveReference(0, 0, 2);
    // The marker and bulge only: axes, limits and influence at their defaults.
    LWInstance instance = muscleFrom(withExtension(plain(), ControlsExtension{2.0f, 1}, 2));
    expectNear(motionAt(1.0).scaling, std::sqrt(0.25), std::sqrt(0.25), 2.0);
    handlers->remove(instance);
    // The marker alone: every default, and the save is the six values again.
    instance = muscleFrom(withExtension(plain(), ControlsExtension{}, 1));
    EXPECT_EQ(handlers->save(instance).size(), 6u);
    handlers->remove(instance);
    // Another number where the marker belongs: ignored.
    host::SceneData data = withExtension(plain(), ControlsExtension{2.0f});
    data[6].values[0] = 0x4D535832;
    instance = muscleFrom(data);
    EXPECT_EQ(handlers->save(instance).size(), 6u);
}

TEST_F(MuscleControls, SaveLoadSaveIsByteIdenticalWithAndWithoutTheExtension) {
    moveReference(0, 0, 2);
    for (const host::SceneData& data : {plain(), withExtension(plain(), ControlsExtension{0.3f, 1, 0.7f, 1.9f, 0.45f})}) {
        LWInstance first = muscleFrom(data);
        const host::SceneData saved = handlers->save(first);
        EXPECT_EQ(saved.size(), data.size());
        LWInstance second = handlers->apply(bone);
        ASSERT_EQ(handlers->load(second, saved), nullptr);
        EXPECT_EQ(host::sceneDataLines(handlers->save(second)), host::sceneDataLines(saved));
        handlers->removeAll();
    }
}

TEST_F(MuscleControls, ACopyCarriesTheControls) {
    moveReference(0, 0, 2);
    LWInstance from = muscleFrom(withExtension(plain(), ControlsExtension{2.0f, 2, 0.0f, 1.5f, 1.0f}));
    LWItemID clone = handlers->cloneItem(bone);
    const std::vector<LWInstance> instances = handlers->instancesOf(clone);
    ASSERT_EQ(instances.size(), 1u);
    const host::SceneData original = handlers->save(from), copied = handlers->save(instances[0]);
    ASSERT_EQ(copied.size(), 12u);
    EXPECT_EQ(host::SceneData(copied.begin() + 6, copied.end()), host::SceneData(original.begin() + 6, original.end()));
}

}  // namespace
