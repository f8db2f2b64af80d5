// A Layout saved as the host saves a scene (LWSC) and loaded in a fresh host:
// the muscles come back and save the same bytes again.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "abi/item_number.h"
#include "host/lws/layout_scene.h"
#include "host/process/fresh_process.h"
#include "lws_text.h"
#include "muscle_host.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string tempPath(const std::string& name) { return ::testing::TempDir() + "sinewrig_" + name; }

std::string sceneOf(const MuscleHost& host, const std::vector<host::lws::ObjectLayer>& objects = {}) {
    std::ostringstream out;
    std::string error;
    host::lws::SceneSettings settings;
    settings.firstFrame = 0;
    settings.lastFrame = 12;
    settings.framesPerSecond = 24;
    EXPECT_TRUE(host::lws::writeLayoutScene(host.layout, *host.handlers, settings, objects, out, error)) << error;
    return out.str();
}

void loadInto(MuscleHost& fresh, const std::string& text) {
    host::lws::SceneText scene = lws_text::read(text);
    std::string error;
    ASSERT_TRUE(host::lws::loadScene(scene, fresh.layout, *fresh.handlers, error)) << error;
}

// Two muscles with parented items, keys and settings that floats cannot hold exactly.
struct SavedScene {
    std::vector<LWItemID> bones, references;
    std::vector<std::array<double, 6>> motions;  // rotation and scale of each bone at time 0.5
    std::string text;
};

SavedScene buildAndSave(MuscleHost& host) {
    SavedScene saved;
    LWItemID rig = host.add(LWI_OBJECT, "rig body", nullptr, {0.1, 0.2, 0.3}, {0.3, 0, 0});
    LWItemID upper = host.add(LWI_BONE, "upper \x98\x72" /* 腕 */, rig, {0, 1, 0}, {0.1, 0.2, 0.3}, 0.1);
    LWItemID lower = host.add(LWI_BONE, "lower", upper, {0, 0, 0.7}, {0.2, -0.1, 0}, 1.3);
    LWItemID handle = host.add(LWI_OBJECT, "handle \"1\"", rig, {0.5, 1, 1});
    host.key(handle, LWIP_POSITION, 1.0, {1.5, 0.2, 2.1});
    host.key(upper, LWIP_ROTATION, 1.0, {0.4, 0.1, -0.2});
    host.muscle(upper, handle, true, false);
    host.muscle(lower, upper, false, true);
    saved.bones = {upper, lower};
    saved.references = {handle, upper};
    host.handlers->evaluate(0.0);
    host.handlers->evaluate(0.5);
    for (LWItemID bone : saved.bones) {
        const host::ItemMotion& m = host.motionOf(bone);
        saved.motions.push_back({m.rotation[0], m.rotation[1], m.rotation[2], m.scaling[0], m.scaling[1], m.scaling[2]});
    }
    saved.text = sceneOf(host);
    return saved;
}

}  // namespace

TEST(LayoutScene, AFreshHostGetsTheMusclesBackAndSavesThemBitForBit) {
    SavedScene saved;
    std::vector<MuscleHost::SavedMuscle> records;
    {
        MuscleHost host;
        saved = buildAndSave(host);
        for (LWItemID bone : saved.bones) records.push_back(host.savedOf(bone));
    }
    MuscleHost fresh;
    loadInto(fresh, saved.text);
    ASSERT_EQ(fresh.handlers->instances().size(), 2u);
    for (size_t i = 0; i < records.size(); ++i) {
        const MuscleHost::SavedMuscle record = fresh.savedOf(saved.bones[i]);
        EXPECT_EQ(record.reference, records[i].reference);
        EXPECT_EQ(record.preserveVolume, records[i].preserveVolume);
        EXPECT_EQ(record.afterIK, records[i].afterIK);
        EXPECT_EQ(record.restLength, double(float(records[i].restLength)));
    }
    EXPECT_EQ(sceneOf(fresh), saved.text);

    // The rest data is computed again from the same items, once each: the same motion.
    EXPECT_EQ(fresh.restBindingsEvaluating(0.0).size(), saved.bones.size());
    fresh.handlers->evaluate(0.5);
    for (size_t i = 0; i < saved.bones.size(); ++i) {
        const host::ItemMotion& m = fresh.motionOf(saved.bones[i]);
        const std::array<double, 6> motion = {m.rotation[0], m.rotation[1], m.rotation[2],
                                              m.scaling[0],  m.scaling[1],  m.scaling[2]};
        EXPECT_EQ(motion, saved.motions[i]) << i;
    }
    EXPECT_EQ(fresh.layout.scene.find(saved.bones[0])->name, "upper \x98\x72");
    EXPECT_EQ(fresh.layout.scene.find(saved.bones[1])->parent, saved.bones[0]);
    EXPECT_EQ(fresh.layout.scene.find(saved.references[0])->parent, itemFromNumber(0x10000000));
}

// The scene is saved here and loaded in a new process of this program, which
// runs this same test with the two paths in SINEWRIG_FRESH_HOST_SCENE and saves
// the scene again.
TEST(LayoutScene, AFreshHostProcessSavesTheSceneBitForBit) {
    if (const char* job = std::getenv("SINEWRIG_FRESH_HOST_SCENE")) {
        const std::string paths = job;
        const std::string in = paths.substr(0, paths.find('|')), out = paths.substr(paths.find('|') + 1);
        MuscleHost fresh;
        host::lws::SceneText scene;
        std::string error;
        ASSERT_TRUE(host::lws::readSceneFile(in, scene, error)) << error;
        ASSERT_TRUE(host::lws::loadScene(scene, fresh.layout, *fresh.handlers, error)) << error;
        std::ofstream(out, std::ios::binary) << sceneOf(fresh);
        return;
    }
    const std::string first = tempPath("parent.lws"), second = tempPath("child.lws");
    std::remove(second.c_str());
    {
        MuscleHost host;
        std::ofstream(first, std::ios::binary) << buildAndSave(host).text;
    }
    EXPECT_EQ(host::runThisProgram({"--gtest_filter=LayoutScene.AFreshHostProcessSavesTheSceneBitForBit"},
                                   "SINEWRIG_FRESH_HOST_SCENE", first + "|" + second),
              0);
    EXPECT_EQ(readFile(second), readFile(first));
}

// An object's bones are counted 000 to FFF in the form 4BBBOOOO: the
// 4,097th gets a number from the top of the range, which only a baked number
// (LWSC 4) gives back.
TEST(LayoutScene, MoreBonesThanTheCountedFormHoldsAreWrittenWithBakedNumbers) {
    MuscleHost host;
    LWItemID body = host.add(LWI_OBJECT, "body", nullptr, {});
    std::vector<LWItemID> bones;
    for (int i = 0; i < 4097; ++i) bones.push_back(host.add(LWI_BONE, "b", body, {0.001 * i, 0, 0}));
    host.muscle(bones.back(), bones.front());
    LWItemID light = host.add(LWI_LIGHT, "Light", nullptr, {});
    EXPECT_EQ(itemNumber(bones[4095]), 0x4FFF0000u);
    EXPECT_EQ(itemNumber(bones[4096]), 0x4FFFFFFFu);

    const std::string text = sceneOf(host);
    EXPECT_EQ(text.rfind("LWSC\n4\n", 0), 0u);
    EXPECT_NE(text.find("\nAddNullObject 10000000 body\n"), std::string::npos);
    EXPECT_NE(text.find("\nAddBone 40000000\n"), std::string::npos);
    EXPECT_NE(text.find("\nAddBone 4FFFFFFF\n"), std::string::npos);
    EXPECT_NE(text.find("\nAddLight 20000000\n"), std::string::npos);
    MuscleHost fresh;
    loadInto(fresh, text);
    ASSERT_EQ(fresh.layout.scene.items().size(), 4099u);
    EXPECT_EQ(fresh.layout.scene.find(bones[4096])->owner, body);
    EXPECT_EQ(fresh.layout.scene.find(light)->type, LWI_LIGHT);
    EXPECT_EQ(fresh.savedOf(bones.back()).reference, bones.front());
    EXPECT_EQ(sceneOf(fresh), text);
}

TEST(LayoutScene, ReadingPastTheEndGivesFewerValuesThenMinusOne) {
    const host::SceneData data = {{"U4", {7}}, {"FP", {1.5, 2.5}}};
    host::LoadState state(data);
    const LWLoadState* load = state.record();
    unsigned int ids[2] = {0, 0};
    EXPECT_EQ(load->readU4(load->readData, ids, 2), 1);
    EXPECT_EQ(ids[0], 7u);
    float values[3] = {0, 0, 9};
    EXPECT_EQ(load->readFP(load->readData, values, 3), 2);
    EXPECT_EQ(values[1], 2.5f);
    EXPECT_EQ(values[2], 9.0f);
    EXPECT_EQ(load->readFP(load->readData, values, 1), -1);
    EXPECT_EQ(load->readU1(load->readData, nullptr, 1), -1);
    EXPECT_EQ(state.mismatches(), 1);  // the first read ran into the FP values
}

TEST(LayoutScene, AShortPluginBlockLoadsWhatItHas) {
    const std::string text =
        "LWSC\n3\n\nAddNullObject body\n\nAddBone\nBoneName bone\nBoneRestLength 1\n"
        "Plugin ItemMotionHandler 1 Sinewrig\n40000000\n10000001\nEndPlugin\n\n"
        "AddNullObject target\nObjectMotion\nNumChannels 3\nChannel 2\n{ Envelope\n  1\n  Key 2 0 3 0 0 0 0 0 0\n"
        "  Behaviors 1 1\n}\n";
    MuscleHost fresh;
    loadInto(fresh, text);
    ASSERT_EQ(fresh.handlers->instances().size(), 1u);
    LWInstance instance = fresh.handlers->instances()[0].instance;
    EXPECT_EQ(fresh.handlers->useItems(instance).size(), 2u);
    EXPECT_EQ(fresh.handlers->flags(instance), 1u);  // after IK as the new record held it
    fresh.handlers->evaluate(0.0);
    EXPECT_DOUBLE_EQ(fresh.motionOf(fresh.handlers->instances()[0].item).scaling[2], 1.0);
}
