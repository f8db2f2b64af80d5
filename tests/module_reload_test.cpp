// Unloading Sinewrig.p and loading it again in the same host process: Global
// Memory outlives the module file, the module's own variables do not.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "muscle_host.h"

using namespace sinewrig;

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
    EXPECT_EQ(registry(), nullptr);

    loadModule();
    instance = handlers->apply(bone);
    handlers->load(instance, data);
    EXPECT_EQ(evaluated(), before);
    EXPECT_EQ(registry()->useCount, 1);
}

// A registry left in the block by an earlier load (here: the module's logic
// linked into this program, as ReadMuscle would leave it) is taken over by the
// newly loaded module: copy, load and evaluation reach it.
TEST_F(ModuleReloadTest, ARegistryLeftByAnEarlierLoadIsTakenOver) {
    unloadModule();
    const auto* pool =
        static_cast<const LWGlobalPool*>(host::Services::globalLookup("Global Memory", GFUSE_TRANSIENT));
    MuscleRegistry* left = getMuscleRegistry(pool);
    MuscleRecord record;
    record.bone = bone;
    record.reference = reference;
    record.needsRebind = true;
    ASSERT_TRUE(appendMuscle(left, record));
    LWItemID other = addBone("other", {5, 0, 0});

    loadModule();
    LWInstance mine = handlers->apply(bone);
    LWInstance copyTarget = handlers->apply(other);
    EXPECT_EQ(registry(), left);
    EXPECT_EQ(left->useCount, 2);
    handlers->copy(copyTarget, mine);
    EXPECT_EQ(handlers->useItems(copyTarget), (std::vector<LWItemID>{other, reference}));
    EXPECT_FALSE(needsRebind(*recordOf(other)));

    handlers->load(copyTarget, handlers->save(copyTarget));
    EXPECT_TRUE(needsRebind(*recordOf(bone)));  // load flagged the adopted registry
    const std::array<double, 6> motion = evaluated();
    EXPECT_NEAR(motion[5], std::sqrt(17.0) / 2.0, 1e-12);
    handlers->removeAll();
    EXPECT_EQ(registry(), nullptr);
}
