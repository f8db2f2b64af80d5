#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host/process/fresh_process.h"
#include "host/scene_file/scene_file.h"
#include "muscle_host.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string tempPath(const std::string& name) { return ::testing::TempDir() + "sinewrig_" + name; }

// Two muscles with parented items, keys and settings that floats cannot hold exactly.
struct SavedScene {
    std::vector<LWItemID> bones, references;
    std::vector<std::array<double, 6>> motions;  // rotation and scale of each bone at time 0.5
};

SavedScene buildAndSave(MuscleHost& host, const std::string& path) {
    SavedScene saved;
    LWItemID rig = host.add(LWI_OBJECT, "rig body", nullptr, {0.1, 0.2, 0.3}, {0.3, 0, 0});
    LWItemID upper = host.add(LWI_BONE, "upper \x98\x72" /* 腕 */, rig, {0, 1, 0}, {0.1, 0.2, 0.3}, 0.1);
    LWItemID lower = host.add(LWI_BONE, "lower", upper, {0, 0, 0.7}, {0.2, -0.1, 0}, 1.3);
    LWItemID handle = host.add(LWI_OBJECT, "handle \"1\"", rig, {0.5, 1, 1});
    host.key(handle, LWIP_POSITION, 1.0, {1.5, 0.2, 2.1});
    host.key(upper, LWIP_ROTATION, 1.0, {0.4, 0.1, -0.2});
    host.layout.scene.find(lower)->named = false;
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
    std::string error;
    EXPECT_TRUE(host::saveSceneFile(path, host.layout, *host.handlers, error)) << error;
    return saved;
}

}  // namespace

TEST(SceneFile, AFreshHostGetsTheMusclesBackAndSavesThemBitForBit) {
    const std::string first = tempPath("first.scene"), second = tempPath("second.scene");
    SavedScene saved;
    std::vector<MuscleHost::SavedMuscle> records;
    {
        MuscleHost host;
        saved = buildAndSave(host, first);
        for (LWItemID bone : saved.bones) records.push_back(host.savedOf(bone));
    }
    MuscleHost fresh;
    std::string error;
    ASSERT_TRUE(host::loadSceneFile(first, fresh.layout, *fresh.handlers, error)) << error;
    ASSERT_EQ(fresh.handlers->instances().size(), 2u);
    for (size_t i = 0; i < records.size(); ++i) {
        const MuscleHost::SavedMuscle record = fresh.savedOf(saved.bones[i]);
        EXPECT_EQ(record.reference, records[i].reference);
        EXPECT_EQ(record.preserveVolume, records[i].preserveVolume);
        EXPECT_EQ(record.afterIK, records[i].afterIK);
        EXPECT_EQ(record.restLength, double(float(records[i].restLength)));
    }
    ASSERT_TRUE(host::saveSceneFile(second, fresh.layout, *fresh.handlers, error)) << error;
    EXPECT_EQ(readFile(second), readFile(first));

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
    EXPECT_FALSE(fresh.layout.scene.find(saved.bones[1])->named);
}

// The scene is saved here and loaded in a new process of this program, which
// runs this same test with the two paths in SINEWRIG_FRESH_HOST_SCENE and saves
// the scene again.
TEST(SceneFile, AFreshHostProcessSavesTheSceneBitForBit) {
    if (const char* job = std::getenv("SINEWRIG_FRESH_HOST_SCENE")) {
        const std::string paths = job;
        const std::string in = paths.substr(0, paths.find('|')), out = paths.substr(paths.find('|') + 1);
        MuscleHost fresh;
        std::string error;
        ASSERT_TRUE(host::loadSceneFile(in, fresh.layout, *fresh.handlers, error)) << error;
        ASSERT_TRUE(host::saveSceneFile(out, fresh.layout, *fresh.handlers, error)) << error;
        return;
    }
    const std::string first = tempPath("parent.scene"), second = tempPath("child.scene");
    std::remove(second.c_str());
    {
        MuscleHost host;
        buildAndSave(host, first);
    }
    EXPECT_EQ(host::runThisProgram({"--gtest_filter=SceneFile.AFreshHostProcessSavesTheSceneBitForBit"},
                                   "SINEWRIG_FRESH_HOST_SCENE", first + "|" + second),
              0);
    EXPECT_EQ(readFile(second), readFile(first));
}

TEST(SceneFile, ReadingPastTheEndGivesFewerValuesThenMinusOne) {
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

TEST(SceneFile, AShortInstanceBlockInAFileLoadsWhatItHas) {
    const std::string path = tempPath("short.scene");
    {
        MuscleHost host;
        LWItemID bone = host.addBone("bone");
        LWItemID target = host.add(LWI_OBJECT, "target", nullptr, {0, 0, 2});
        (void)target;
        std::ofstream(path, std::ios::binary) << "";
        std::string error;
        ASSERT_TRUE(host::saveSceneFile(path, host.layout, *host.handlers, error));
        std::ofstream(path, std::ios::binary | std::ios::app)
            << "Handler Sinewrig " << reinterpret_cast<std::uintptr_t>(bone) << "\nData U4 2 "
            << reinterpret_cast<std::uintptr_t>(bone) << " " << reinterpret_cast<std::uintptr_t>(target)
            << "\nEndHandler\n";
    }
    MuscleHost fresh;
    std::string error;
    ASSERT_TRUE(host::loadSceneFile(path, fresh.layout, *fresh.handlers, error)) << error;
    ASSERT_EQ(fresh.handlers->instances().size(), 1u);
    LWInstance instance = fresh.handlers->instances()[0].instance;
    EXPECT_EQ(fresh.handlers->useItems(instance).size(), 2u);
    EXPECT_EQ(fresh.handlers->flags(instance), 1u);  // after IK as the new record held it
    fresh.handlers->evaluate(0.0);
    EXPECT_DOUBLE_EQ(fresh.motionOf(fresh.handlers->instances()[0].item).scaling[2], 1.0);
}
