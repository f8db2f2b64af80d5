// examples/arm.lws, written by hand as a TD saves the arm in Layout after
// ReadMuscle: its bones are those Layout makes from examples/arm.lwo's
// skelegons, and the muscles it holds run through the loaded module.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "abi/item_number.h"
#include "host/lws/load_scene.h"
#include "host/object_file/object_file.h"
#include "muscle_host.h"

namespace {

const std::string kExamples = std::string(SINEWRIG_SOURCE_DIR) + "/examples/";

host::lws::SceneText armScene() {
    host::lws::SceneText scene;
    std::string error;
    EXPECT_TRUE(host::lws::readSceneFile(kExamples + "arm.lws", scene, error)) << error;
    return scene;
}

}  // namespace

TEST(ExampleScene, TheBonesAreThoseLayoutMakesFromTheObjectsSkelegons) {
    host::ObjectFile file;
    host::MeshObject mesh;
    std::string error;
    ASSERT_TRUE(host::loadObjectFile(kExamples + "arm.lwo", file, mesh, error)) << error;
    host::Layout layout;
    const LWItemID object = layout.addObject("arm", host::ObjectMesh::fromLayer(mesh.layerAt(0)));
    const std::vector<LWItemID> made = layout.convertSkelegons(object);
    ASSERT_EQ(made.size(), 4u);

    const host::lws::SceneText scene = armScene();
    ASSERT_EQ(scene.items.size(), 7u);  // the object, four bones, a light and a camera
    EXPECT_EQ(scene.items[0].name, "arm");
    EXPECT_EQ(scene.items[0].file, "arm.lwo");
    for (std::size_t b = 0; b < made.size(); ++b) {
        const host::Item& bone = *layout.scene.find(made[b]);
        const host::lws::SceneItem& saved = scene.items[1 + b];
        SCOPED_TRACE(bone.name);
        EXPECT_EQ(saved.name, bone.name);
        EXPECT_EQ(saved.number, itemNumber(bone.id));
        EXPECT_EQ(itemFromNumber(scene.items[saved.parent].number), bone.parent);
        double position[3], rotation[3];
        layout.scene.channelValue(bone.id, LWIP_POSITION, 0.0, position);
        layout.scene.channelValue(bone.id, LWIP_ROTATION, 0.0, rotation);
        ASSERT_TRUE(saved.restPosition && saved.restDirection);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR((*saved.restPosition)[i], position[i], 1e-7) << i;
            EXPECT_NEAR((*saved.restDirection)[i], rotation[i], 1e-7) << i;
        }
        EXPECT_NEAR(saved.restLength, bone.restLength, 1e-7);
    }
    // Worked out by hand: the forearm starts at the upper arm's tip, the biceps
    // dips 0.005 over 0.3 (pitch down, positive), the triceps rises 0.01 over 0.29.
    EXPECT_EQ(scene.items[2].parent, 1u);
    EXPECT_NEAR((*scene.items[3].restDirection)[1], std::atan2(0.005, 0.3), 1e-6);
    EXPECT_NEAR((*scene.items[4].restDirection)[1], -std::atan2(0.01, 0.29), 1e-6);
    EXPECT_NEAR(scene.items[4].restLength, std::sqrt(0.01 * 0.01 + 0.29 * 0.29), 1e-6);
}

TEST(ExampleScene, ItsMusclesRunThroughTheModuleOverTheWholeShot) {
    const host::lws::SceneText scene = armScene();
    EXPECT_EQ(scene.settings.firstFrame, 0);
    EXPECT_EQ(scene.settings.lastFrame, 48);
    EXPECT_EQ(scene.settings.framesPerSecond, 24.0);
    // Every span type but 1D Bezier is keyed.
    std::set<host::SpanShape> shapes;
    for (const host::lws::SceneItem& item : scene.items)
        for (const host::Channel& channel : item.channels)
            for (const host::Key& key : channel.keys) shapes.insert(key.shape);
    EXPECT_EQ(shapes.size(), 5u);

    MuscleHost host;
    std::string error;
    ASSERT_TRUE(host::lws::loadScene(scene, host.layout, *host.handlers, error)) << error;
    const LWItemID biceps = itemFromNumber(0x40020000), triceps = itemFromNumber(0x40030000);
    ASSERT_EQ(host.handlers->instances().size(), 2u);
    EXPECT_EQ(host.savedOf(biceps).reference, itemFromNumber(0x40010000));
    EXPECT_TRUE(host.savedOf(biceps).preserveVolume);
    EXPECT_FALSE(host.savedOf(triceps).preserveVolume);

    for (int frame = 0; frame <= 48; ++frame) {
        host.handlers->evaluate(frame / 24.0);
        for (LWItemID muscle : {biceps, triceps})
            for (double value : host.motionOf(muscle).scaling) EXPECT_TRUE(std::isfinite(value)) << frame;
    }
    // At frame 48 the forearm is bent by -115 degrees of pitch and nothing else
    // turns: the biceps' target (0, 0.035, 0.04) in the forearm's axes is 0.212186
    // from its pivot, the triceps' (0, -0.03, 0.01) 0.309190; their rest
    // lengths are 0.300042 and 0.290172.
    EXPECT_NEAR(host.motionOf(biceps).scaling[2], 0.7071885, 1e-5);
    EXPECT_NEAR(host.motionOf(triceps).scaling[2], 1.0655400, 1e-5);
    EXPECT_EQ(host.motionOf(triceps).scaling[0], 1.0);  // no preserved volume
    EXPECT_GT(host.motionOf(biceps).scaling[0], 1.0);   // thicker as it shortens
}
