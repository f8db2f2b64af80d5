// Unloading Sinewrig.p and loading it again in the same host process: Global
// Memory outlives the module file, the module's own variables do not.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "host/modeler/mesh_object.h"
#include "muscle_host.h"

namespace {

struct ModuleReloadTest : ::testing::Test, MuscleHost {
    LWItemID bone = addBone("bone", {0, 0, 0}, 2.0);
    LWItemID reference = add(LWI_OBJECT, "reference", nullptr, {0, 0, 1});
    ModuleReloadTest() { key(reference, LWIP_POSITION, 1.0, {1, 0, 3}); }

    std::array<double, 6> evaluated() {
        handlers->evaluate(1.0);
        const host::ItemMotion& m = motionOf(bone);
        return {m.rotation[0], m.rotation[1], m.rotation[2], m.scaling[0], m.scaling[1], m.scaling[2]};
    }
};

}  // namespace

TEST_F(ModuleReloadTest, UnloadingReallyUnmapsTheModule) {
    ASSERT_TRUE(host::ModuleFile::isLoaded(SINEWRIG_MODULE_FILE));
    unloadModule();
    EXPECT_FALSE(host::ModuleFile::isLoaded(SINEWRIG_MODULE_FILE));
}

TEST_F(ModuleReloadTest, MusclesWorkAgainAfterTheModuleFileIsLoadedAgain) {
    LWInstance instance = muscle(bone, reference, true);
    const std::array<double, 6> before = evaluated();
    EXPECT_NE(before[5], 1.0);
    const host::SceneData data = handlers->save(instance);
    unloadModule();  // removes the handler, then unloads the file
    ASSERT_FALSE(host::ModuleFile::isLoaded(SINEWRIG_MODULE_FILE));
    EXPECT_FALSE(registryHeld());

    loadModule();
    instance = handlers->apply(bone);
    handlers->load(instance, data);
    EXPECT_EQ(evaluated(), before);
    EXPECT_TRUE(registryHeld());
    handlers->remove(instance);
    EXPECT_FALSE(registryHeld());  // its one user
}

// A registry left in the block by an earlier load (here: one whose ReadMuscle
// set up a muscle while no handler hosting could apply it) is taken over by
// the newly loaded module: copy, load and evaluation reach it.
TEST_F(ModuleReloadTest, ARegistryLeftByAnEarlierLoadIsTakenOver) {
    host::MeshObject mesh;
    const double origin[3] = {0, 0, 0}, up[3] = {0, 0, 2}, tipStart[3] = {0, 0, 1}, tipEnd[3] = {0, 0, 1.5};
    LWPolID muscleSkelegon = mesh.addSkelegon(0, "Muscle", false, origin, up);
    mesh.polygon(muscleSkelegon)->tags[LWID_('M', 'F', 'L', 'G')] = "1";
    mesh.polygon(muscleSkelegon)->tags[LWID_('M', 'T', 'I', 'P')] = "Tip";
    mesh.addSkelegon(0, "Tip", false, tipStart, tipEnd);
    LWItemID object = layout.addObject("Body", host::ObjectMesh::fromLayer(mesh.primary()));
    const std::vector<LWItemID> bones = layout.convertSkelegons(object);
    const LWItemID muscleBone = bones[0], tip = bones[1];
    key(tip, LWIP_POSITION, 1.0, {1, 0, 3});
    layout.select({object});
    handlers.reset();
    ASSERT_EQ(module->activate("LayoutGeneric", "ReadMuscle", 2, host::Services::global(), layout.generic()), AFUNC_OK);
    unloadModule();
    ASSERT_TRUE(registryHeld());
    LWItemID other = addBone("other", {5, 0, 0});

    loadModule();
    LWInstance mine = handlers->apply(muscleBone);
    LWInstance copyTarget = handlers->apply(other);
    EXPECT_EQ(handlers->useItems(mine), (std::vector<LWItemID>{muscleBone, tip}));
    handlers->copy(copyTarget, mine);
    EXPECT_EQ(handlers->useItems(copyTarget), (std::vector<LWItemID>{other, tip}));

    handlers->load(copyTarget, handlers->save(copyTarget));
    // Load flagged the adopted registry: both records bind again.
    EXPECT_EQ(restBindingsEvaluating(0.0).size(), 2u);
    handlers->evaluate(1.0);
    EXPECT_NEAR(motionOf(muscleBone).scaling[2], std::sqrt(17.0) / 2.0, 1e-12);
    handlers->removeAll();
    EXPECT_FALSE(registryHeld());
}
