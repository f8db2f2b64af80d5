#include <gtest/gtest.h>

#include "muscle_host.h"

using namespace sinewrig;

namespace {

struct HandlerInstanceTest : ::testing::Test, MuscleHost {
    LWItemID arm = addBone("arm", {0, 0, 0}, 2.0);
    LWItemID leg = addBone("leg", {4, 0, 0}, 3.0);
    LWItemID target = add(LWI_OBJECT, "target", nullptr, {0, 0, 1});
};

void noCreate() {}

}  // namespace

TEST_F(HandlerInstanceTest, ActivationAcceptsVersionFourOnly) {
    for (int version : {3, 5}) {
        LWInstanceFuncs inst{};
        LWItemFuncs item{};
        auto sentinel = reinterpret_cast<void (*)(LWInstance, const LWItemMotionAccess*)>(&noCreate);
        LWItemMotionHandler local{&inst, &item, sentinel, nullptr};
        EXPECT_EQ(module->activate("ItemMotionHandler", "Sinewrig", version, host::Services::global(), &local),
                  AFUNC_BADVERSION);
        EXPECT_EQ(local.inst, &inst);
        EXPECT_EQ(local.item, &item);
        EXPECT_EQ(local.evaluate, sentinel);
        EXPECT_EQ(local.flags, nullptr);
        EXPECT_EQ(inst.create, nullptr);
        EXPECT_EQ(item.useItems, nullptr);
    }
    EXPECT_EQ(handlers->activate(4), AFUNC_OK);
    const LWItemMotionHandler& table = handlers->table();
    EXPECT_EQ(table.inst->priv, handlers->priv());
    for (const void* member : {(const void*)table.inst->create, (const void*)table.inst->destroy,
                               (const void*)table.inst->copy, (const void*)table.inst->load,
                               (const void*)table.inst->save, (const void*)table.inst->descln,
                               (const void*)table.item->useItems, (const void*)table.item->changeID,
                               (const void*)table.evaluate, (const void*)table.flags})
        EXPECT_NE(member, nullptr);
}

TEST_F(HandlerInstanceTest, CreateAsksForItsServicesAndNeverReportsAnError) {
    layout.services.lookups.clear();
    LWError error = "untouched";
    LWInstance instance = handlers->apply(arm, &error);
    ASSERT_NE(instance, nullptr);
    EXPECT_STREQ(error, "untouched");
    EXPECT_EQ(layout.services.lookups,
              (std::vector<std::string>{"Global Memory", "LW Item Info 3", "LW Bone Info 3"}));
    EXPECT_EQ(handlers->useItems(instance), (std::vector<LWItemID>{arm}));
    EXPECT_EQ(handlers->flags(instance), unsigned(LWIMF_AFTERIK));
    EXPECT_EQ(handlers->description(instance), "Sinewrig");
}

TEST_F(HandlerInstanceTest, FlagsFollowAfterIKAndAnyNonZeroByteReadsAsTrue) {
    LWInstance instance = handlers->apply(arm);
    handlers->load(instance, muscleData(arm, target, 2, 0));
    EXPECT_EQ(handlers->flags(instance), 0u);
    EXPECT_TRUE(savedOf(arm).preserveVolume);
    handlers->load(instance, muscleData(arm, target, 0, 2));
    EXPECT_EQ(handlers->flags(instance), 1u);
    handlers->load(instance, muscleData(arm, target, 255, 2));
    host::SceneData saved = handlers->save(instance);
    ASSERT_EQ(saved.size(), 6u);
    EXPECT_EQ(saved[2].values, std::vector<double>{1});
    EXPECT_EQ(saved[3].values, std::vector<double>{1});
}

TEST_F(HandlerInstanceTest, SaveWritesSixTypedValuesInOrder) {
    LWInstance instance = handlers->apply(arm);
    handlers->load(instance, muscleData(arm, target, 1, 0));
    handlers->evaluate(0.0);  // rest binding: rest length 2, tip (0, 0, 1) from the target
    host::SceneData saved = handlers->save(instance);
    const std::vector<std::string> types = {"U4", "U4", "U1", "U1", "FP", "FP"};
    ASSERT_EQ(saved.size(), types.size());
    for (size_t i = 0; i < types.size(); ++i) EXPECT_EQ(saved[i].type, types[i]) << i;
    EXPECT_EQ(saved[0].values, std::vector<double>{double(reinterpret_cast<std::uintptr_t>(arm))});
    EXPECT_EQ(saved[1].values, std::vector<double>{double(reinterpret_cast<std::uintptr_t>(target))});
    EXPECT_EQ(saved[2].values, std::vector<double>{1});
    EXPECT_EQ(saved[3].values, std::vector<double>{0});
    EXPECT_EQ(saved[4].values, std::vector<double>{2});
    EXPECT_EQ(saved[5].values, (std::vector<double>{0, 0, 1}));
}

TEST_F(HandlerInstanceTest, ShortOrTruncatedDataLeavesWhatCouldNotBeRead) {
    LWInstance instance = handlers->apply(arm);
    handlers->load(instance, muscleData(arm, target, 1, 0, 7.5f, {1, 2, 3}));

    host::SceneData shortData = muscleData(arm, leg, 0, 1, 9.0f, {4, 5, 6});
    shortData.resize(2);
    handlers->load(instance, shortData);
    SavedMuscle saved = savedOf(arm);
    EXPECT_EQ(saved.reference, leg);
    EXPECT_TRUE(saved.preserveVolume);
    EXPECT_FALSE(saved.afterIK);
    // The rest binding at the start of load computed this from the host.
    EXPECT_EQ(saved.restLength, 2.0);
    EXPECT_EQ(restBindingsEvaluating(0.0), std::vector<LWItemID>{arm});

    host::SceneData truncated = muscleData(arm, target, 0, 1, 9.0f, {4, 5, 6});
    truncated[5].values.resize(2);
    handlers->load(instance, truncated);
    saved = savedOf(arm);
    EXPECT_EQ(saved.restLength, 9.0);
    EXPECT_EQ(saved.restTip.x, 4.0);
    EXPECT_EQ(saved.restTip.y, 5.0);
    EXPECT_NE(saved.restTip.z, 6.0);  // what the rest binding at the start of load left
    EXPECT_FALSE(saved.preserveVolume);

    // Nothing at all: every setting stays (bone, reference and both options).
    const host::SceneData kept = handlers->save(instance);
    handlers->load(instance, {});
    const host::SceneData after = handlers->save(instance);
    ASSERT_EQ(after.size(), kept.size());
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(after[i], kept[i]) << i;
}

TEST_F(HandlerInstanceTest, LoadFlagsEveryRecordForRebinding) {
    LWInstance a = muscle(arm, target), b = handlers->apply(leg);
    handlers->evaluate(0.0);
    EXPECT_TRUE(restBindingsEvaluating(0.0).empty());
    handlers->load(b, muscleData(leg, target));
    EXPECT_EQ(restBindingsEvaluating(0.0), (std::vector<LWItemID>{arm, leg}));
    (void)a;
}

TEST_F(HandlerInstanceTest, UseItemsListsTheBoneAloneUntilThereIsAReference) {
    LWInstance instance = handlers->apply(arm);
    EXPECT_EQ(handlers->useItems(instance), (std::vector<LWItemID>{arm}));
    handlers->load(instance, muscleData(arm, target));
    EXPECT_EQ(handlers->useItems(instance), (std::vector<LWItemID>{arm, target}));
}

TEST_F(HandlerInstanceTest, ChangeIDAppliesEveryPairInOrder) {
    const auto A = reinterpret_cast<LWItemID>(0x31000001), B = reinterpret_cast<LWItemID>(0x31000002),
               C = reinterpret_cast<LWItemID>(0x31000003);
    LWInstance instance = handlers->apply(arm);
    handlers->load(instance, muscleData(A, target));
    handlers->changeIDs({{A, B}, {B, C}});
    EXPECT_EQ(handlers->useItems(instance), (std::vector<LWItemID>{C, target}));

    handlers->load(instance, muscleData(A, A));
    handlers->changeIDs({{A, B}});
    EXPECT_EQ(handlers->useItems(instance), (std::vector<LWItemID>{B, B}));

    // The instance's own item stays: evaluation writes it back into the record.
    handlers->evaluate(0.0);
    EXPECT_EQ(handlers->useItems(instance)[0], arm);
}

TEST_F(HandlerInstanceTest, CopyTakesReferenceAndOptionsButKeepsTheBone) {
    LWInstance from = muscle(arm, target, true, false);
    LWInstance to = handlers->apply(leg);
    EXPECT_EQ(handlers->copy(to, from), nullptr);
    const SavedMuscle saved = savedOf(leg);
    EXPECT_EQ(saved.bone, leg);
    EXPECT_EQ(saved.reference, target);
    EXPECT_TRUE(saved.preserveVolume);
    EXPECT_FALSE(saved.afterIK);
    EXPECT_EQ(saved.restLength, 3.0);
    // The leg's tip (4, 0, 3) seen from the target at (0, 0, 1).
    EXPECT_DOUBLE_EQ(saved.restTip.x, 4.0);
    EXPECT_DOUBLE_EQ(saved.restTip.y, 0.0);
    EXPECT_DOUBLE_EQ(saved.restTip.z, 2.0);
    EXPECT_EQ(savedOf(arm).bone, arm);
    // The arm, loaded, still waits for its binding; the leg was bound by the copy.
    EXPECT_EQ(restBindingsEvaluating(0.0), std::vector<LWItemID>{arm});
}

TEST_F(HandlerInstanceTest, CopyOntoItselfStillRebinds) {
    LWInstance instance = muscle(arm, target, true, false);
    EXPECT_EQ(savedOf(arm).restLength, 1.0);  // as loaded, before any binding
    EXPECT_EQ(handlers->copy(instance, instance), nullptr);
    const SavedMuscle saved = savedOf(arm);
    EXPECT_EQ(saved.reference, target);
    EXPECT_TRUE(saved.preserveVolume);
    EXPECT_FALSE(saved.afterIK);
    EXPECT_EQ(saved.restLength, 2.0);
    EXPECT_TRUE(restBindingsEvaluating(0.0).empty());
    EXPECT_EQ(handlers->description(instance), "Sinewrig (target)");
}

TEST_F(HandlerInstanceTest, CloningAnItemGivesTheCloneTheSettings) {
    LWInstance original = muscle(arm, target, true, false);
    LWItemID clone = handlers->cloneItem(arm);
    ASSERT_EQ(handlers->instancesOf(clone).size(), 1u);
    LWInstance instance = handlers->instancesOf(clone)[0];
    EXPECT_EQ(handlers->useItems(instance), (std::vector<LWItemID>{clone, target}));
    EXPECT_EQ(handlers->flags(instance), 0u);
    // The clone's instance counts as a user of the registry.
    handlers->remove(original);
    EXPECT_TRUE(registryHeld());
    handlers->remove(instance);
    EXPECT_FALSE(registryHeld());
}

TEST_F(HandlerInstanceTest, DescriptionNamesTheReference) {
    LWInstance instance = handlers->apply(arm);
    layout.log.clear();
    EXPECT_EQ(handlers->description(instance), "Sinewrig");
    handlers->load(instance, muscleData(arm, target));
    EXPECT_EQ(handlers->description(instance), "Sinewrig (target)");
    layout.scene.find(target)->named = false;
    EXPECT_EQ(handlers->description(instance), "Sinewrig");
}

TEST_F(HandlerInstanceTest, DescriptionIsCutToItsBufferWithoutSplittingACharacter) {
    LWInstance instance = handlers->apply(arm);
    handlers->load(instance, muscleData(arm, target));
    layout.scene.find(target)->name = std::string(300, 'n');
    const std::string ascii = handlers->description(instance);
    EXPECT_EQ(ascii, "Sinewrig (" + std::string(249, 'n'));

    std::string wide;
    for (int i = 0; i < 200; ++i) wide += "\x8e\x51"; /* 参 */
    layout.scene.find(target)->name = wide;
    const std::string cut = handlers->description(instance);
    EXPECT_EQ(cut, "Sinewrig (" + wide.substr(0, 248));
    EXPECT_LE(cut.size(), 259u);
}
