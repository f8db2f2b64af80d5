#include <gtest/gtest.h>

#include "muscle_host.h"
#include "tests/layout_session.h"

namespace {

struct MuscleRegistryTest : ::testing::Test, MuscleHost {
    LWItemID arm = addBone("arm", {0, 0, 0}, 2.5);
    LWItemID hand = addBone("hand", {0, 0, 3});
    LWItemID target = add(LWI_OBJECT, "target", nullptr, {0, 0, 1});
    MuscleRegistryTest() { key(target, LWIP_POSITION, 1.0, {0, 0, 3.5}); }
};

}  // namespace

// Three records, the last two renumbered onto one bone: a new instance on that
// bone takes the first of them, and a load flags every record for rebinding.
TEST_F(MuscleRegistryTest, ANewInstanceTakesTheFirstRecordOfItsBone) {
    LWItemID other = addBone("other");
    muscle(arm, target);
    LWInstance second = muscle(hand, target, false, false);
    LWInstance third = muscle(other, arm, false, true);
    handlers->changeIDs({{other, hand}});
    LWInstance probe = handlers->apply(hand);
    EXPECT_EQ(handlers->useItems(probe), (std::vector<LWItemID>{hand, target}));
    EXPECT_EQ(handlers->flags(probe), 0u);  // the second record's, not the third's
    handlers->remove(probe);
    EXPECT_EQ(handlers->useItems(third), (std::vector<LWItemID>{hand, arm}));
    EXPECT_EQ(handlers->useItems(handlers->apply(other)), std::vector<LWItemID>{other});  // none left for it
    // A load marks every record: each instance binds, the renumbered one to the
    // record of the item it is on, which the instance applied after it shares.
    handlers->load(second, handlers->save(second));
    EXPECT_EQ(restBindingsEvaluating(0.0), (std::vector<LWItemID>{hand, arm, other}));  // not after IK first
}

TEST_F(MuscleRegistryTest, FirstInstanceMakesABlockOfOnePointerHoldingANewRegistry) {
    layout.log.clear();
    LWInstance instance = handlers->apply(arm);
    ASSERT_NE(instance, nullptr);
    std::vector<std::string> poolCalls;
    for (const host::HostCall& call : layout.log.calls)
        if (call.function == "find" || call.function == "create") {
            poolCalls.push_back(call.function + " " + call.text);
            if (call.function == "create") {
                EXPECT_EQ(call.param, int(sizeof(void*)));
            }
        }
    EXPECT_EQ(poolCalls, (std::vector<std::string>{"find Sinewrig", "create Sinewrig"}));
    EXPECT_TRUE(registryHeld());
    EXPECT_EQ(handlers->useItems(instance), std::vector<LWItemID>{arm});
    const SavedMuscle saved = savedOf(arm);
    EXPECT_EQ(saved.bone, arm);
    EXPECT_EQ(saved.reference, nullptr);
    EXPECT_EQ(saved.restLength, 2.5);
    EXPECT_TRUE(saved.afterIK);
    EXPECT_FALSE(saved.preserveVolume);
    EXPECT_EQ(saved.restTip.x, 0.0);
    EXPECT_EQ(saved.restTip.z, 0.0);
    EXPECT_TRUE(restBindingsEvaluating(0.0).empty());
}

TEST_F(MuscleRegistryTest, LastDestroyEmptiesTheBlockAndTheNextCreateStartsAgain) {
    LWInstance a = muscle(arm, target), b = muscle(hand, target);
    handlers->remove(a);
    EXPECT_TRUE(registryHeld());
    EXPECT_EQ(handlers->useItems(handlers->apply(arm)), (std::vector<LWItemID>{arm, target}));  // its record stayed
    handlers->remove(handlers->instancesOf(arm)[0]);
    handlers->remove(b);
    EXPECT_FALSE(registryHeld());
    EXPECT_NE(layout.globalMemory.find("Sinewrig"), nullptr);

    LWInstance fresh = handlers->apply(hand);
    EXPECT_TRUE(registryHeld());
    EXPECT_EQ(handlers->useItems(fresh), std::vector<LWItemID>{hand});
    handlers->remove(fresh);
    EXPECT_FALSE(registryHeld());  // one user only
}

TEST_F(MuscleRegistryTest, RemovingAndReapplyingTheHandlerRestoresTheSettings) {
    LWInstance armMuscle = muscle(arm, target, true, false);
    muscle(hand, target);
    handlers->remove(armMuscle);
    LWInstance again = handlers->apply(arm);
    EXPECT_EQ(handlers->useItems(again), (std::vector<LWItemID>{arm, target}));
    EXPECT_EQ(handlers->flags(again), 0u);
    EXPECT_TRUE(savedOf(arm).preserveVolume);
}

TEST_F(MuscleRegistryTest, TwoInstancesOnOneBoneShareOneRecord) {
    LWInstance first = muscle(arm, target);
    LWInstance second = handlers->apply(arm);
    EXPECT_EQ(handlers->table().item->useItems(first), handlers->table().item->useItems(second));
    handlers->remove(first);
    EXPECT_TRUE(registryHeld());
    EXPECT_EQ(handlers->useItems(second), (std::vector<LWItemID>{arm, target}));
    handlers->evaluate(0.0);
    EXPECT_EQ(layout.log.calls.back().function, "setParam");
    handlers->remove(second);
    EXPECT_FALSE(registryHeld());
}

TEST_F(MuscleRegistryTest, RecordListsStayInPlaceWhileTheRegistryGrows) {
    LWInstance first = muscle(arm, target);
    const LWItemID* list = handlers->table().item->useItems(first);
    for (int i = 0; i < 300; ++i) handlers->apply(addBone("extra"));
    EXPECT_EQ(list, handlers->table().item->useItems(first));
    EXPECT_EQ(list[0], arm);
    EXPECT_EQ(list[1], target);
    EXPECT_EQ(list[2], nullptr);
}

// ReadMuscle, or an earlier load of the module file, may have left a registry
// with records and no user in the block: here ReadMuscle, with no handler
// hosting to apply the muscles it set up.
class LeftRegistry : public LayoutSession {};

TEST_F(LeftRegistry, ARegistryFoundInTheBlockIsAdoptedWithItsRecords) {
    const double origin[3] = {0, 0, 0}, up[3] = {0, 0, 2.5};
    skelegon("Arm", muscleTags("1", "Target"), origin, up);
    skelegon("Target", {}, up, origin);
    loadObject();
    const LWItemID arm = bones[0], target = bones[1];
    handlers.reset();
    ASSERT_EQ(readMuscle(), AFUNC_OK);
    ASSERT_NE(layout.globalMemory.find("Sinewrig"), nullptr);
    handlers = std::make_unique<host::MotionHandlers>(layout, *module);

    LWInstance instance = handlers->apply(arm);
    EXPECT_EQ(handlers->useItems(instance), (std::vector<LWItemID>{arm, target}));
    EXPECT_EQ(handlers->flags(instance), 0u);
    const host::SceneData saved = handlers->save(instance);
    ASSERT_EQ(saved.size(), 6u);
    EXPECT_EQ(saved[2].values, std::vector<double>{1});

    // Evaluation reaches the adopted registry: the pending rest binding runs.
    layout.log.clear();
    handlers->evaluate(1.0);
    int bindings = 0;
    for (const host::HostCall& call : layout.log.calls) bindings += call.function == "restLength";
    EXPECT_EQ(bindings, 1);
    EXPECT_EQ(handlers->save(instance)[4].values, std::vector<double>{2.5});

    handlers->remove(instance);
    void* registry = nullptr;
    std::memcpy(&registry, layout.globalMemory.find("Sinewrig"), sizeof registry);
    EXPECT_EQ(registry, nullptr);
}

// Without Global Memory at destruction the registry is found as the current
// one, and it goes only with its last user: the other instance keeps working.
TEST_F(MuscleRegistryTest, ReleasingWithoutABlockKeepsTheRegistryForItsOtherUsers) {
    LWInstance a = muscle(arm, target);
    muscle(hand, target);
    layout.services.remove("Global Memory");
    handlers->remove(a);
    handlers->evaluate(1.0);
    EXPECT_DOUBLE_EQ(motionOf(hand).scaling[2], 3.5);
    handlers->removeAll();  // the sanitizer build reports a leak if the registry stayed
}
