// The whole road of a muscle through the loaded module: skelegons tagged with
// SetMuscle in the stand-in Modeler, bones made from them in the stand-in
// Layout, ReadMuscle, frames evaluated, the scene saved and loaded in a fresh
// host, and the same frames evaluated again.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <sstream>

#include "host/layout/layout.h"
#include "host/layout/motion_handlers.h"
#include "host/lws/layout_scene.h"
#include "host/lws/load_scene.h"
#include "host/modeler/modeler.h"
#include "host/process/module_file.h"

namespace {

constexpr int kReferenceX = 180, kPreserveVolumeX = 270;
constexpr int kFrames = 31;

using Motion = std::array<double, 6>;  // heading, pitch, bank, scale x, y, z

// The Layout as the host saves it, its object loaded from a layer of its file.
bool saveScene(const std::string& path, const host::Layout& layout, const host::MotionHandlers& handlers,
               const std::vector<host::lws::ObjectLayer>& objects) {
    std::ofstream file(path, std::ios::binary);
    std::string error;
    const bool written = host::lws::writeLayoutScene(layout, handlers, {}, objects, file, error);
    EXPECT_TRUE(written) << error;
    return written && file.flush();
}

std::unique_ptr<host::ModuleFile> loadModule() {
    std::string error;
    auto module = host::ModuleFile::load(SINEWRIG_MODULE_FILE, error);
    EXPECT_TRUE(module) << error;
    return module;
}

std::vector<std::vector<Motion>> evaluateFrames(host::Layout& layout, host::MotionHandlers& handlers,
                                                const std::vector<LWItemID>& bones) {
    std::vector<std::vector<Motion>> frames;
    for (int frame = 0; frame < kFrames; ++frame) {
        handlers.evaluate(frame / 30.0);
        frames.emplace_back();
        for (LWItemID bone : bones) {
            const host::ItemMotion* m = layout.motion.motionOf(bone);
            frames.back().push_back(m ? Motion{m->rotation[0], m->rotation[1], m->rotation[2], m->scaling[0],
                                               m->scaling[1], m->scaling[2]}
                                      : Motion{});
        }
    }
    return frames;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

TEST(MuscleRoad, FromModelerToAReloadedSceneTheChannelsComeBackBitForBit) {
    auto module = loadModule();
    ASSERT_TRUE(module);

    // Modeler: an upper arm and a forearm, and a biceps reaching from the
    // shoulder to the forearm; the biceps keeps its volume.
    host::Modeler modeler;
    const double shoulder[3] = {0, 0, 0}, elbow[3] = {0, 0, 2}, wrist[3] = {0, 0, 4};
    const double biceps[3] = {0, 0.3, 0.2}, insertion[3] = {0, 0.3, 2.5};
    modeler.object.addSkelegon(0, "Upper", false, shoulder, elbow);
    modeler.object.addSkelegon(0, "Fore", false, elbow, wrist);
    modeler.object.addSkelegon(0, "Biceps", true, biceps, insertion);
    modeler.makeActive();
    // Row 0 is the biceps; the chooser lists all three skelegons, the forearm second.
    modeler.panels.queue(host::pressOk({host::clickCell(0, kReferenceX), host::clickCell(0, kPreserveVolumeX)}));
    modeler.panels.queue(host::pressOk({host::chooseItem(1)}));
    ASSERT_EQ(module->activate("CommandSequence", "SetMuscle", 3, host::Services::global(), &modeler.command),
              AFUNC_OK);
    EXPECT_TRUE(modeler.panels.problems.empty());

    const std::string saved = ::testing::TempDir() + "sinewrig_road.lws";
    std::vector<LWItemID> bones;
    std::vector<std::vector<Motion>> before;
    {
        host::Layout layout;
        host::MotionHandlers handlers(layout, *module);
        LWItemID object = layout.addObject("Arm", host::ObjectMesh::fromLayer(modeler.object.primary()));
        bones = layout.convertSkelegons(object);
        ASSERT_EQ(bones.size(), 3u);
        // The elbow bends a right angle over the second.
        const double straight[3] = {0, 0, 0}, bent[3] = {0, -1.5707963267948966, 0};
        layout.scene.setKey(bones[1], LWIP_ROTATION, 0.0, straight);
        layout.scene.setKey(bones[1], LWIP_ROTATION, 1.0, bent);
        layout.select({object});
        ASSERT_EQ(module->activate("LayoutGeneric", "ReadMuscle", 2, host::Services::global(), layout.generic()),
                  AFUNC_OK);
        ASSERT_EQ(handlers.instancesOf(bones[2]).size(), 1u);
        EXPECT_EQ(handlers.useItems(handlers.instancesOf(bones[2])[0]), (std::vector<LWItemID>{bones[2], bones[1]}));
        EXPECT_EQ(layout.scene.find(bones[2])->colour, 4);
        before = evaluateFrames(layout, handlers, bones);
        ASSERT_TRUE(saveScene(saved, layout, handlers, {{object, 1, "arm.lwo"}}));
        EXPECT_TRUE(layout.problems().empty());
    }

    // At rest the biceps keeps its length; as the elbow bends its insertion
    // comes up towards the shoulder and the muscle shortens and thickens.
    const Motion& rest = before.front()[2];
    const Motion& flexed = before.back()[2];
    EXPECT_NEAR(rest[5], 1.0, 1e-9);
    EXPECT_LT(flexed[5], 0.9);
    EXPECT_NEAR(flexed[3] * flexed[4] * flexed[5], 1.0, 1e-9);
    EXPECT_NE(flexed[1], rest[1]);
    // The bones the handler does not drive keep their own motion.
    EXPECT_EQ(before.back()[0], (Motion{}));

    module.reset();
    module = loadModule();
    ASSERT_TRUE(module);
    host::Layout fresh;
    host::MotionHandlers handlers(fresh, *module);
    host::lws::SceneText scene;
    std::string error;
    ASSERT_TRUE(host::lws::readSceneFile(saved, scene, error)) << error;
    ASSERT_TRUE(host::lws::loadScene(scene, fresh, handlers, error)) << error;
    EXPECT_EQ(evaluateFrames(fresh, handlers, bones), before);
    const std::string again = saved + ".again";
    ASSERT_TRUE(saveScene(again, fresh, handlers, {{fresh.scene.items()[0].id, 1, "arm.lwo"}}));
    EXPECT_EQ(readFile(again), readFile(saved));
}
