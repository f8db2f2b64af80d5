#include <gtest/gtest.h>

#include "muscle_host.h"

using namespace sinewrig;

namespace {

const LWGlobalPool* pool() {
    return static_cast<const LWGlobalPool*>(host::Services::globalLookup("Global Memory", GFUSE_TRANSIENT));
}

struct MuscleRegistryTest : ::testing::Test, MuscleHost {
    LWItemID arm = addBone("arm", {0, 0, 0}, 2.5);
    LWItemID hand = addBone("hand", {0, 0, 3});
    LWItemID target = add(LWI_OBJECT, "target", nullptr, {0, 0, 1});
    MuscleRegistryTest() { key(target, LWIP_POSITION, 1.0, {0, 0, 3.5}); }
};

}  // namespace

TEST(MuscleRecords, FindMuscleSearchesFromTheFirstRecord) {
    MuscleRegistry registry;
    EXPECT_EQ(findMuscle(&registry, nullptr), -1);
    EXPECT_EQ(findMuscle(nullptr, nullptr), -1);
    MuscleRecord record;
    record.bone = reinterpret_cast<LWItemID>(7);
    ASSERT_TRUE(appendMuscle(&registry, record));
    record.bone = reinterpret_cast<LWItemID>(9);
    record.afterIK = false;
    ASSERT_TRUE(appendMuscle(&registry, record));
    record.afterIK = true;
    ASSERT_TRUE(appendMuscle(&registry, record));
    EXPECT_EQ(muscleCount(&registry), 3);
    EXPECT_EQ(findMuscle(&registry, reinterpret_cast<LWItemID>(9)), 1);
    EXPECT_FALSE(muscleAt(&registry, 1).afterIK);
    EXPECT_EQ(findMuscle(&registry, reinterpret_cast<LWItemID>(8)), -1);
    markAllForRebind(&registry);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(needsRebind(muscleAt(&registry, i)));
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
    ASSERT_NE(registry(), nullptr);
    EXPECT_EQ(registry()->useCount, 1);
    ASSERT_EQ(muscleCount(registry()), 1);
    const MuscleRecord& record = muscleAt(registry(), 0);
    EXPECT_EQ(record.bone, arm);
    EXPECT_EQ(record.reference, nullptr);
    EXPECT_EQ(record.itemListEnd, nullptr);
    EXPECT_EQ(record.restLength, 2.5);
    EXPECT_TRUE(record.afterIK);
    EXPECT_FALSE(record.preserveVolume);
    EXPECT_FALSE(needsRebind(record));
    EXPECT_EQ(record.restTip.x, 0.0);
    EXPECT_EQ(record.restTip.z, 0.0);
}

TEST_F(MuscleRegistryTest, LastDestroyEmptiesTheBlockAndTheNextCreateStartsAgain) {
    LWInstance a = muscle(arm, target), b = muscle(hand, target);
    ASSERT_EQ(registry()->useCount, 2);
    handlers->remove(a);
    ASSERT_NE(registry(), nullptr);
    EXPECT_EQ(muscleCount(registry()), 2);  // the removed bone's record stays
    handlers->remove(b);
    EXPECT_EQ(registry(), nullptr);
    EXPECT_NE(layout.globalMemory.find("Sinewrig"), nullptr);

    handlers->apply(hand);
    ASSERT_NE(registry(), nullptr);
    EXPECT_EQ(registry()->useCount, 1);
    ASSERT_EQ(muscleCount(registry()), 1);
    EXPECT_EQ(muscleAt(registry(), 0).reference, nullptr);
}

TEST_F(MuscleRegistryTest, RemovingAndReapplyingTheHandlerRestoresTheSettings) {
    LWInstance armMuscle = muscle(arm, target, true, false);
    muscle(hand, target);
    handlers->remove(armMuscle);
    LWInstance again = handlers->apply(arm);
    EXPECT_EQ(muscleCount(registry()), 2);
    EXPECT_EQ(handlers->useItems(again), (std::vector<LWItemID>{arm, target}));
    EXPECT_EQ(handlers->flags(again), 0u);
    EXPECT_TRUE(recordOf(arm)->preserveVolume);
}

TEST_F(MuscleRegistryTest, TwoInstancesOnOneBoneShareOneRecord) {
    LWInstance first = muscle(arm, target);
    LWInstance second = handlers->apply(arm);
    EXPECT_EQ(registry()->useCount, 2);
    EXPECT_EQ(muscleCount(registry()), 1);
    EXPECT_EQ(handlers->table().item->useItems(first), handlers->table().item->useItems(second));
    handlers->remove(first);
    EXPECT_EQ(registry()->useCount, 1);
    EXPECT_EQ(handlers->useItems(second), (std::vector<LWItemID>{arm, target}));
    handlers->evaluate(0.0);
    EXPECT_EQ(layout.log.calls.back().function, "setParam");
}

TEST_F(MuscleRegistryTest, RecordListsStayInPlaceWhileTheRegistryGrows) {
    LWInstance first = muscle(arm, target);
    const LWItemID* list = handlers->table().item->useItems(first);
    for (int i = 0; i < 300; ++i) handlers->apply(addBone("extra"));
    EXPECT_EQ(muscleCount(registry()), 301);
    EXPECT_EQ(list, handlers->table().item->useItems(first));
    EXPECT_EQ(list[0], arm);
    EXPECT_EQ(list[1], target);
    EXPECT_EQ(list[2], nullptr);
}

// ReadMuscle, or an earlier load of the module file, may have left a registry
// with records and no user in the block.
TEST_F(MuscleRegistryTest, ARegistryFoundInTheBlockIsAdoptedWithItsRecords) {
    MuscleRegistry* left = getMuscleRegistry(pool());
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->useCount, 0);
    MuscleRecord record;
    record.bone = arm;
    record.reference = target;
    record.preserveVolume = true;
    record.afterIK = false;
    record.needsRebind = true;
    ASSERT_TRUE(appendMuscle(left, record));

    LWInstance instance = handlers->apply(arm);
    EXPECT_EQ(registry(), left);
    EXPECT_EQ(left->useCount, 1);
    EXPECT_EQ(muscleCount(left), 1);
    EXPECT_EQ(handlers->useItems(instance), (std::vector<LWItemID>{arm, target}));
    EXPECT_EQ(handlers->flags(instance), 0u);

    // Evaluation reaches the adopted registry: the pending rest binding runs.
    handlers->evaluate(1.0);
    EXPECT_FALSE(needsRebind(muscleAt(left, 0)));
    EXPECT_EQ(muscleAt(left, 0).restLength, 2.5);
    EXPECT_DOUBLE_EQ(motionOf(arm).scaling[2], 2.0);

    handlers->remove(instance);
    EXPECT_EQ(registry(), nullptr);
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
