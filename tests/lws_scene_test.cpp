// Scenes an artist saved in Layout, written here by hand as the host writes
// them (LWSC 3 with counted item numbers, LWSC 4 with baked ones), read into
// the stand-in Layout with the loaded Sinewrig.p taking its plug-in blocks.
#include <gtest/gtest.h>

#include <cmath>

#include "abi/item_number.h"
#include "lws_text.h"
#include "muscle_host.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

using lws_text::kStill;
using lws_text::motion;

const std::string kMuscleBlock =
    "Plugin ItemMotionHandler 1 Sinewrig\n"
    "40000000\n"
    "40010000\n"
    "1\n"
    "0\n"
    "0.30000001\n"
    "0 0 0.30000001\n"
    "EndPlugin\n";

// An arm: the upper bone a muscle reaching for the lower, which an object's
// key moves from z 1 to z 2 over the first second. A light, a camera, another
// plug-in, targeting, and lines the stand-in does not use.
std::string armScene3() {
    return "LWSC\n3\n\n"
           "FirstFrame 1\nLastFrame 30\nFrameStep 2\nPreviewFirstFrame 0\nPreviewLastFrame 30\nPreviewFrameStep 1\n"
           "CurrentFrame 5\nFramesPerSecond 24\n\n"
           "LoadObjectLayer 1 Objects/Rigs/arm.lwo\nShowObject 6 7\nObjectMotion\n" +
           motion(kStill) +
           "ShadowOptions 7\n\n"
           "AddBone\nBoneName Upper\nShowBone 1 -1 0.376471 0.878431 0.941176\nBoneActive 1\nBoneStrength 1\n"
           "ScaleBoneStrength 1\nBoneRestPosition 0 0 0\nBoneRestDirection 0 0 0\nBoneRestLength 1\nBoneMotion\n" +
           motion(kStill) + kMuscleBlock +
           "\nAddBone\nBoneName Lower\nShowBone 1 -1 0.376471 0.878431 0.941176\nBoneActive 0\n"
           "BoneRestPosition 0 0 1\nBoneRestDirection 90 0 0\nBoneRestLength 0.5\nBoneMotion\n" +
           motion(kStill, {{{}, {}, {"1 0 0 0 0 0 0 0 0", "2 1 3 0 0 0 0 0 0"}}}) +
           "ParentItem 10000000\n"
           "Plugin ItemMotionHandler 1 Oscillator\n  { Wave\n    1.5 2\n  }\nEndPlugin\n\n"
           "AddLight\nLightName Key Light\nShowLight 0 7\nLightMotion\n" +
           motion(kStill) +
           "LightColor 1 1 1\nLightIntensity 1\n\n"
           "AddCamera\nCameraName Camera\nShowCamera 1 7\nCameraMotion\n" +
           motion(kStill) +
           "TargetItem 40010000\nZoomFactor 3.2\n{ Unknown\n  Plugin NotReally 1 Here\n}\n\nFrameSize 640 480\n";
}

// The same kind of rig in LWSC 4: numbers baked, with gaps, a null as the
// reference, moving from (0, 0, 2) to (2, 0, 2) over the first second.
std::string armScene4() {
    return "LWSC\n4\n\nFirstFrame 0\nLastFrame 10\nFrameStep 1\nFramesPerSecond 30\n\n"
           "AddNullObject 10000000 Control Null\nShowObject 6 7\nObjectMotion\n" +
           motion({"0", "0", "2", "0", "0", "0", "1", "1", "1"}, {{{"0 0 0 0 0 0 0 0 0", "2 1 3 0 0 0 0 0 0"}}}) +
           "PivotPosition 0.5 0 -0.25\n\n"
           "LoadObjectLayer 1 10000003 C:\\Rigs\\arm.lwo\nObjectMotion\n" + motion(kStill) +
           "\nAddBone 40000003\nBoneName Biceps\nBoneRestLength 2\nBoneMotion\n" + motion(kStill) +
           "Plugin ItemMotionHandler 1 Sinewrig\n40000003\n10000000\n0\n1\n2.0\n0.0 0.0 0.0\nEndPlugin\n"
           "\nAddBone 40050003\nBoneName Spare\nBoneMotion\n" + motion(kStill) + "ParentItem 40000003\n"
           "\nAddLight 20000002\nLightName Light\nLightMotion\n" + motion(kStill) +
           "\nAddCamera 30000000\nCameraName Camera\nCameraMotion\n" + motion(kStill);
}

struct LoadedScene : ::testing::Test {
    MuscleHost host;
    host::lws::SceneText scene;

    void load(const std::string& text) {
        scene = lws_text::read(text);
        std::string error;
        ASSERT_TRUE(host::lws::loadScene(scene, host.layout, *host.handlers, error)) << error;
    }
    const host::Item& item(std::uint32_t number) {
        const host::Item* found = host.layout.scene.find(itemFromNumber(number));
        EXPECT_NE(found, nullptr) << std::hex << number;
        static const host::Item none;
        return found ? *found : none;
    }
};

TEST_F(LoadedScene, Version3ItemsAreCountedPerKindAndBonesWithinTheirObject) {
    load(armScene3());
    std::vector<std::pair<std::string, std::uint32_t>> listed;
    for (const host::Item& it : host.layout.scene.items()) listed.emplace_back(it.name, itemNumber(it.id));
    EXPECT_EQ(listed, (std::vector<std::pair<std::string, std::uint32_t>>{{"arm", 0x10000000},
                                                                           {"Upper", 0x40000000},
                                                                           {"Lower", 0x40010000},
                                                                           {"Key Light", 0x20000000},
                                                                           {"Camera", 0x30000000}}));
    EXPECT_EQ(item(0x10000000).file, "Objects/Rigs/arm.lwo");
    EXPECT_EQ(item(0x40000000).parent, itemFromNumber(0x10000000));  // no ParentItem: its object
    EXPECT_EQ(item(0x40010000).parent, itemFromNumber(0x10000000));
    EXPECT_EQ(item(0x40010000).owner, itemFromNumber(0x10000000));
    EXPECT_EQ(item(0x20000000).parent, nullptr);
    EXPECT_FALSE(item(0x40010000).active);

    const host::lws::SceneSettings& s = scene.settings;
    EXPECT_EQ(s.firstFrame, 1);
    EXPECT_EQ(s.lastFrame, 30);
    EXPECT_EQ(s.frameStep, 2);
    EXPECT_EQ(s.previewFirstFrame, 0);
    EXPECT_EQ(s.previewLastFrame, 30);
    EXPECT_EQ(s.previewFrameStep, 1);
    EXPECT_EQ(s.currentFrame, 5);
    EXPECT_EQ(s.framesPerSecond, 24.0);
    EXPECT_EQ(scene.version, 3);

    // Bone info gives the rest values the scene gave (the direction in degrees there).
    const auto* bones = static_cast<const LWBoneInfo*>(host.layout.services.lookup("LW Bone Info 3"));
    LWItemID lower = itemFromNumber(0x40010000);
    EXPECT_EQ(bones->restLength(lower), 0.5);
    double rest[3];
    bones->restParam(lower, LWIP_POSITION, rest);
    EXPECT_EQ(rest[2], 1.0);
    bones->restParam(lower, LWIP_ROTATION, rest);
    EXPECT_DOUBLE_EQ(rest[0], kPi / 2);
}

TEST_F(LoadedScene, TheSinewrigBlockReachesTheModulesLoadAndOtherPluginsAreListedAsNotRun) {
    load(armScene3());
    ASSERT_EQ(host.handlers->instances().size(), 1u);
    EXPECT_EQ(host.handlers->instances()[0].item, itemFromNumber(0x40000000));
    EXPECT_EQ(host.handlers->save(host.handlers->instances()[0].instance),
              MuscleHost::muscleData(itemFromNumber(0x40000000), itemFromNumber(0x40010000), 1, 0, 0.3f, {0, 0, 0.3}));
    ASSERT_EQ(scene.notRun.size(), 2u);
    EXPECT_EQ(scene.notRun[0].className + " " + scene.notRun[0].name, "ItemMotionHandler Oscillator");
    EXPECT_EQ(scene.notRun[1].className + " " + scene.notRun[1].name, "targeting TargetItem");
}

TEST_F(LoadedScene, TheMuscleFollowsItsReferenceAsTheScenesEnvelopesMoveIt) {
    load(armScene3());
    // The lower bone's z runs linearly from 1 to 2: the upper bone, 1 long at
    // rest, stretches to reach it, keeping its volume.
    host.handlers->evaluate(0.5);
    EXPECT_NEAR(host.motionOf(itemFromNumber(0x40000000)).scaling[2], 1.5, 1e-12);
    host.handlers->evaluate(1.0);
    const host::ItemMotion& upper = host.motionOf(itemFromNumber(0x40000000));
    EXPECT_NEAR(upper.scaling[2], 2.0, 1e-12);
    EXPECT_NEAR(upper.scaling[0], std::sqrt(0.5), 1e-12);
    double position[3];
    host.layout.itemParam(itemFromNumber(0x40010000), LWIP_POSITION, 1.0, position);
    EXPECT_EQ(position[2], 2.0);
}

TEST_F(LoadedScene, Version4KeepsBakedNumbersWithTheirGaps) {
    load(armScene4());
    std::vector<std::pair<std::string, std::uint32_t>> listed;
    for (const host::Item& it : host.layout.scene.items()) listed.emplace_back(it.name, itemNumber(it.id));
    EXPECT_EQ(listed, (std::vector<std::pair<std::string, std::uint32_t>>{{"Control Null", 0x10000000},
                                                                           {"arm", 0x10000003},
                                                                           {"Biceps", 0x40000003},
                                                                           {"Spare", 0x40050003},
                                                                           {"Light", 0x20000002},
                                                                           {"Camera", 0x30000000}}));
    EXPECT_EQ(item(0x40050003).parent, itemFromNumber(0x40000003));
    EXPECT_EQ(item(0x40050003).owner, itemFromNumber(0x10000003));
    EXPECT_EQ(item(0x10000000).pivot[0], 0.5);
    EXPECT_EQ(item(0x10000000).pivot[2], -0.25);
    EXPECT_EQ(scene.settings.firstFrame, 0);

    // Biceps, 2 long, reaches for the null: at 1 s the null stands at (2, 0, 2).
    host.handlers->evaluate(1.0);
    const host::ItemMotion& biceps = host.motionOf(itemFromNumber(0x40000003));
    EXPECT_NEAR(biceps.rotation[0], kPi / 4, 1e-12);
    EXPECT_NEAR(biceps.scaling[2], std::sqrt(2.0), 1e-12);
}

TEST_F(LoadedScene, ChannelsTheSceneDoesNotGiveAreZeroAndScaleOne) {
    load("LWSC\n3\n\nAddNullObject Empty\nObjectMotion\nNumChannels 1\nChannel 0\n" +
         lws_text::envelope({"4 0 0 0 0 0 0 0 0"}) + "AddNullObject Bare\n");
    double value[3];
    for (std::uint32_t number : {0x10000000u, 0x10000001u}) {
        host.layout.itemParam(itemFromNumber(number), LWIP_POSITION, 3.0, value);
        EXPECT_EQ(value[0], number == 0x10000000u ? 4.0 : 0.0);
        EXPECT_EQ(value[1], 0.0);
        host.layout.itemParam(itemFromNumber(number), LWIP_ROTATION, 3.0, value);
        EXPECT_EQ(value[2], 0.0);
        host.layout.itemParam(itemFromNumber(number), LWIP_SCALING, 3.0, value);
        EXPECT_EQ(value[0], 1.0);
        EXPECT_EQ(value[2], 1.0);
    }
}

TEST_F(LoadedScene, EveryChannelIsTheHostsEnvelope) {
    // Heading with TCB keys 0, 1, 0 and oscillation after the last: the middle
    // of the first span is 0.625 (see the envelope tests); at 3.5 s, a cycle
    // on and mirrored (0 + 2 - 1.5), it is there again.
    std::string text = "LWSC\n3\n\nAddNullObject Swing\nObjectMotion\nNumChannels 4\n";
    for (int c = 0; c < 3; ++c) text += "Channel " + std::to_string(c) + "\n" + lws_text::envelope({"0 0 0 0 0 0 0 0 0"});
    text += "Channel 3\n" + lws_text::envelope({"0 0 0 0 0 0 0 0 0", "1 1 0 0 0 0 0 0 0", "0 2 0 0 0 0 0 0 0"}, "1 3");
    load(text);
    double rotation[3];
    host.layout.itemParam(itemFromNumber(0x10000000), LWIP_ROTATION, 0.5, rotation);
    EXPECT_DOUBLE_EQ(rotation[0], 0.625);
    host.layout.itemParam(itemFromNumber(0x10000000), LWIP_ROTATION, 3.5, rotation);
    EXPECT_DOUBLE_EQ(rotation[0], 0.625);
}

TEST_F(LoadedScene, ALayoutWithItemsTakesNoScene) {
    host.layout.scene.addItem(LWI_OBJECT, "already here");
    const host::lws::SceneText read = lws_text::read(armScene3());
    std::string error;
    EXPECT_FALSE(host::lws::loadScene(read, host.layout, *host.handlers, error));
    EXPECT_EQ(error, "the Layout has items already");
    EXPECT_EQ(host.layout.scene.items().size(), 1u);
}

TEST_F(LoadedScene, ScenesNeedNotTheObjectFilesTheyName) {
    // The object file does not exist anywhere; the bones come from the scene.
    load("LWSC\n3\n\nLoadObjectLayer 2 /no/such/folder/body.lwo\nAddBone\nBoneName Spine\nBoneRestLength 3\n");
    EXPECT_EQ(item(0x10000000).name, "body");
    EXPECT_EQ(item(0x40000000).restLength, 3.0);
    EXPECT_EQ(item(0x40000000).mesh, nullptr);
}

}  // namespace
