// The registry finds a bone's first record without walking the records, and
// marks every record for rebinding without touching each: the same results
// as a plain walk over the records, seen through the host.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "muscle_host.h"
#include "tests/layout_session.h"

namespace {

int restBindings(const host::Layout& layout) {
    return int(std::count_if(layout.log.calls.begin(), layout.log.calls.end(),
                             [](const host::HostCall& call) { return call.function == "restLength"; }));
}

struct RebindThroughTheHost : ::testing::Test, MuscleHost {};

}  // namespace

// Records renumbered at random: an instance applied to a bone takes the first
// record, in the order the records were made, that has the bone now, as a plain
// walk over a model of the records finds it. Each record's reference tells
// which one the instance took.
TEST_F(RebindThroughTheHost, ANewInstanceTakesTheFirstRecordOfItsBoneAfterEveryRenumbering) {
    std::mt19937 random(7);
    layout.log.enabled = false;
    std::vector<LWItemID> pool;
    for (int i = 0; i < 12; ++i) pool.push_back(addBone("bone"));
    struct Record {
        LWItemID bone, reference;
        LWInstance instance;  // null once its instance is gone; the record stays
    };
    std::vector<Record> records;
    for (int i = 0; i < 30; ++i) {
        LWItemID bone = addBone("muscle"), reference = add(LWI_OBJECT, "reference", nullptr, {0, 0, 1});
        records.push_back({bone, reference, muscle(bone, reference)});
        pool.push_back(bone);
    }
    for (int step = 0; step < 300; ++step) {
        const LWItemID from = pool[random() % pool.size()], to = pool[random() % pool.size()];
        handlers->changeIDs({{from, to}});
        for (Record& record : records)
            if (record.instance && record.bone == from) record.bone = to;

        const LWItemID probe = pool[random() % pool.size()];
        auto first = std::find_if(records.begin(), records.end(), [&](const Record& r) { return r.bone == probe; });
        LWInstance instance = handlers->apply(probe);
        ASSERT_NE(instance, nullptr);
        const std::vector<LWItemID> items = handlers->useItems(instance);
        if (first != records.end() && first->reference)
            ASSERT_EQ(items, (std::vector<LWItemID>{probe, first->reference})) << step;
        else
            ASSERT_EQ(items, std::vector<LWItemID>{probe}) << step;
        handlers->remove(instance);
        if (first == records.end()) records.push_back({probe, nullptr, nullptr});
    }
}

// Loads mark every record there is for its next binding, and no record made
// after them; each record binds once.
TEST_F(RebindThroughTheHost, OneMarkReachesEveryRecordBeforeItAndNoneAfter) {
    LWItemID target = add(LWI_OBJECT, "target", nullptr, {0, 0, 2});
    std::vector<LWInstance> instances;
    for (int i = 0; i < 3; ++i) instances.push_back(muscle(addBone("bone"), target));
    LWItemID later = addBone("later");
    handlers->load(instances[0], handlers->save(instances[0]));
    handlers->load(instances[1], handlers->save(instances[1]));
    handlers->apply(later);  // made after the marks
    layout.log.clear();
    handlers->evaluate(0.0);
    EXPECT_EQ(restBindings(layout), 3);
    layout.log.clear();
    handlers->evaluate(0.0);
    EXPECT_EQ(restBindings(layout), 0);
    handlers->load(instances[2], handlers->save(instances[2]));
    layout.log.clear();
    handlers->evaluate(0.0);
    EXPECT_EQ(restBindings(layout), 4);
}


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
