// The registry finds a bone's first record without walking the records, and
// marks every record for rebinding without touching each: the same results
// as the plain walk, seen both through the registry and through the host.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "muscle_host.h"
#include "tests/layout_session.h"

using namespace sinewrig;

namespace {

LWItemID id(int n) { return reinterpret_cast<LWItemID>(static_cast<std::uintptr_t>(n)); }

// What findMuscle must give: the first record of the bone, walking from index 0.
std::int32_t firstByWalking(MuscleRegistry& registry, LWItemID bone) {
    for (std::int32_t i = 0; i < muscleCount(&registry); ++i)
        if (muscleAt(&registry, i).bone == bone) return i;
    return -1;
}

int restBindings(const host::Layout& layout) {
    return int(std::count_if(layout.log.calls.begin(), layout.log.calls.end(),
                             [](const host::HostCall& call) { return call.function == "restLength"; }));
}

}  // namespace

TEST(RegistryIndex, FirstRecordOfABoneFollowsEveryChangeOfBone) {
    MuscleRegistry registry;
    std::mt19937 random(7);
    for (int i = 0; i < 400; ++i) {
        MuscleRecord record;
        record.bone = id(1 + int(random() % 40));
        ASSERT_TRUE(appendMuscle(&registry, record));
    }
    for (int step = 0; step < 4000; ++step) {
        MuscleRecord& record = muscleAt(&registry, std::int32_t(random() % 400));
        setMuscleBone(record, id(1 + int(random() % 50)));
        const LWItemID probe = id(int(random() % 55));
        ASSERT_EQ(findMuscle(&registry, probe), firstByWalking(registry, probe)) << step;
    }
    for (int bone = 0; bone <= 55; ++bone) EXPECT_EQ(findMuscle(&registry, id(bone)), firstByWalking(registry, id(bone)));
    // A bone changed back to itself, or to one it already has, keeps its place.
    MuscleRecord& first = muscleAt(&registry, 0);
    const LWItemID bone = first.bone;
    setMuscleBone(first, bone);
    EXPECT_EQ(findMuscle(&registry, bone), 0);
}

TEST(RegistryIndex, OneMarkReachesEveryRecordBeforeItAndNoneAfter) {
    MuscleRegistry registry;
    MuscleRecord record;
    for (int i = 0; i < 3; ++i) {
        record.bone = id(i + 1);
        ASSERT_TRUE(appendMuscle(&registry, record));
    }
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(needsRebind(muscleAt(&registry, i)));
    markAllForRebind(&registry);
    markAllForRebind(&registry);
    record.bone = id(9);
    ASSERT_TRUE(appendMuscle(&registry, record));  // appended after the marks
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(needsRebind(muscleAt(&registry, i)));
    EXPECT_FALSE(needsRebind(muscleAt(&registry, 3)));
    markBound(muscleAt(&registry, 1));
    EXPECT_FALSE(needsRebind(muscleAt(&registry, 1)));
    EXPECT_TRUE(needsRebind(muscleAt(&registry, 2)));
    markAllForRebind(&registry);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(needsRebind(muscleAt(&registry, i)));
}

namespace {

struct RebindThroughTheHost : ::testing::Test, MuscleHost {};

}  // namespace

TEST_F(RebindThroughTheHost, EveryLoadMarksEveryRecordOnceForTheNextEvaluation) {
    LWItemID target = add(LWI_OBJECT, "target", nullptr, {0, 0, 2});
    std::vector<LWItemID> bones;
    for (int i = 0; i < 50; ++i) {
        bones.push_back(addBone("bone", {0.1 * i, 0, 0}));
        muscle(bones.back(), target);
        if (i == 24) {
            layout.log.clear();
            handlers->evaluate(0.0);
            EXPECT_EQ(restBindings(layout), 25);  // each loaded record binds once
        }
    }
    layout.log.clear();
    handlers->evaluate(0.0);
    EXPECT_EQ(restBindings(layout), 50);  // the 26th load marked the first 25 again
    layout.log.clear();
    handlers->evaluate(0.5);
    EXPECT_EQ(restBindings(layout), 0);
}

TEST_F(RebindThroughTheHost, ARenamedBoneFindsTheFirstRecordOfItsNewName) {
    LWItemID a = addBone("a"), b = addBone("b");
    LWItemID far = add(LWI_OBJECT, "far", nullptr, {0, 0, 3}), near = add(LWI_OBJECT, "near", nullptr, {0, 0, 1});
    muscle(a, far);   // record 0
    muscle(b, near);  // record 1
    handlers->changeIDs({{a, b}});  // both records are now b's
    LWInstance later = handlers->apply(b);
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(handlers->useItems(later), (std::vector<LWItemID>{b, far}));
}

namespace {

class RebindAfterLayoutCommands : public LayoutSession {};

}  // namespace

TEST_F(RebindAfterLayoutCommands, ReadMuscleMarksEveryRecordAndTheOptionsPanelOnlyItsOwn) {
    const double origin[3] = {0, 0, 0}, up[3] = {0, 0, 1}, top[3] = {0, 0, 2};
    skelegon("A", muscleTags("2", "B"), origin, up);
    skelegon("B", muscleTags("2", "A"), up, top);
    loadObject();
    LWItemID elsewhere = layout.scene.addItem(LWI_BONE, "Elsewhere");
    LWInstance other = handlers->apply(elsewhere);
    ASSERT_EQ(readMuscle(), AFUNC_OK);
    layout.log.clear();
    handlers->evaluate(0.0);
    EXPECT_EQ(restBindings(layout), 3);  // the other object's muscle too
    layout.select({object});
    ASSERT_EQ(readMuscle(), AFUNC_OK);
    layout.log.clear();
    handlers->evaluate(0.0);
    EXPECT_EQ(restBindings(layout), 3);  // instances applied twice share their records

    layout.panels.queue(host::pressOk());
    handlers->openOptions(other);
    layout.log.clear();
    handlers->evaluate(0.0);
    EXPECT_EQ(restBindings(layout), 0);  // the panel bound its own record and marked no other
}
