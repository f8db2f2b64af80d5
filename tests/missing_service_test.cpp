// Every server run with each of its host services missing in turn, and with
// all of them missing: each gives its defined result, crashes nothing and
// writes nothing non-finite into the scene.
#include <cmath>
#include <cstring>

#include "tests/layout_session.h"
#include "tests/muscle_scene_data.h"

namespace {

const std::vector<std::string> kHandlerServices = {"Global Memory", "LW Item Info 3", "LW Bone Info 3"};
const std::vector<std::string> kReadMuscleServices = {"LW Object Info 6", "LW Interface Info 5", "LW Item Info 3",
                                                      "Global Memory", "Info Messages 2"};

class MissingService : public LayoutSession {
protected:
    void SetUp() override {
        LayoutSession::SetUp();
        const double pivot[3] = {0, 0, 0}, tip[3] = {0, 0, 1}, end[3] = {0, 0, 2};
        skelegon("Upper", muscleTags("3", "Lower"), pivot, tip);
        skelegon("Lower", muscleTags("2"), tip, end);
        loadObject();
        const double bent[3] = {0.4, -0.7, 0.1};
        layout.scene.setKey(bones[1], LWIP_ROTATION, 1.0, bent);
    }
    // Removes the services for the rest of the test; "all" removes every one in the list.
    void remove(const std::vector<std::string>& services) {
        for (const std::string& name : services) layout.services.remove(name);
    }
    bool everyWriteFinite() const {
        for (const host::ParamWrite& write : layout.motion.writes)
            for (double v : write.value)
                if (!std::isfinite(v)) return false;
        return true;
    }
    void* registryPointer() const {
        void* block = layout.globalMemory.find("Sinewrig");
        void* held = nullptr;
        if (block) std::memcpy(&held, block, sizeof held);
        return held;
    }
    // A muscle's whole life through the handler table, as the host drives it.
    struct Life {
        bool created = false;
        std::vector<LWItemID> items;
        std::string description;
        std::size_t savedValues = 0;
        std::size_t writes = 0;
    };
    Life live() {
        Life life;
        LWInstance upper = handlers->apply(bones[0]);
        LWInstance lower = handlers->apply(bones[1]);
        life.created = upper && lower;
        if (!life.created) return life;
        handlers->load(upper, muscleSceneData(bones[0], bones[1], 1, 1));
        handlers->copy(lower, upper);
        handlers->changeIDs({{bones[1], bones[1]}});
        life.items = handlers->useItems(upper);
        life.description = handlers->description(upper);
        for (const host::SceneWrite& write : handlers->save(upper)) life.savedValues += write.values.size();
        for (double time : {0.0, 0.5, 1.0}) handlers->evaluate(time);
        life.writes = layout.motion.writes.size();
        handlers->removeAll();
        return life;
    }
};

}  // namespace

TEST_F(MissingService, WithEveryServiceTheMuscleLivesAndMoves) {
    const Life full = live();
    ASSERT_TRUE(full.created);
    EXPECT_EQ(full.description, "Sinewrig (Lower)");
    EXPECT_GT(full.writes, 0u);
    EXPECT_TRUE(everyWriteFinite());
}

// Each case in a host of its own: a fresh Layout and the module loaded again.
class MissingHandlerService : public MissingService, public ::testing::WithParamInterface<int> {};

TEST_P(MissingHandlerService, GivesItsDefinedResult) {
    const int missing = GetParam();
    const bool all = missing == int(kHandlerServices.size());
    remove(all ? kHandlerServices : std::vector<std::string>{kHandlerServices[missing]});
    const Life life = live();
    ASSERT_TRUE(life.created) << "create gives an instance whatever is missing";
    EXPECT_EQ(life.savedValues, 8u);  // the six values: two IDs, two flags, a length and a point
    EXPECT_TRUE(everyWriteFinite());
    const std::string name = all ? "all" : kHandlerServices[missing];
    if (name == "Global Memory" || name == "all") {
        // The registry then lives in the module alone, and goes with the last instance.
        EXPECT_EQ(layout.globalMemory.find("Sinewrig"), nullptr);
    } else {
        EXPECT_EQ(registryPointer(), nullptr);  // deleted with the last instance
    }
    if (name == "LW Item Info 3" || name == "all") {
        EXPECT_EQ(life.description, "Sinewrig");  // no names without item info
    } else {
        EXPECT_EQ(life.description, "Sinewrig (Lower)");
        EXPECT_EQ(life.items, (std::vector<LWItemID>{bones[0], bones[1]}));
    }
    if (name == "LW Bone Info 3") {
        // Without rest lengths a muscle still aims but cannot be stretched: scale stays as the motion gave it.
        for (const host::ParamWrite& write : layout.motion.writes)
            if (write.param == LWIP_SCALING) EXPECT_EQ(write.value[2], 1.0);
    }
}
INSTANTIATE_TEST_SUITE_P(EachAndAll, MissingHandlerService, ::testing::Range(0, 4));

TEST_F(MissingService, TheOptionsPanelWithoutPanelsGivesAnEmptyErrorAndChangesNothing) {
    LWInstance instance = handlers->apply(bones[0]);
    handlers->load(instance, muscleSceneData(bones[0], bones[1], 1, 0));
    const host::SceneData before = handlers->save(instance);
    remove({"LWPanelServices"});
    const auto result = handlers->openOptions(instance);
    ASSERT_TRUE(result.called);
    ASSERT_NE(result.error, nullptr);
    EXPECT_STREQ(result.error, "");
    EXPECT_EQ(handlers->save(instance), before);
}

TEST_F(MissingService, ReadMuscleWithoutAnyServiceGivesBadGlobal) {
    remove(kReadMuscleServices);
    EXPECT_EQ(readMuscle(), AFUNC_BADGLOBAL);
    EXPECT_TRUE(layout.commands.empty());
    EXPECT_TRUE(layout.messages.empty());
    EXPECT_TRUE(layout.meshViews.views().empty());
}

TEST_F(MissingService, ServersGivenNoGlobalLookupAtAllStillBehave) {
    EXPECT_EQ(module->activate("LayoutGeneric", "ReadMuscle", 2, nullptr, layout.generic()), AFUNC_BADGLOBAL);
    LWInterface face{};
    EXPECT_EQ(module->activate("ItemMotionInterface", "Sinewrig", 4, nullptr, &face), AFUNC_OK);
    LWInstance instance = handlers->apply(bones[0]);
    ASSERT_NE(face.options, nullptr);
    ASSERT_NE(face.options(instance), nullptr);
    EXPECT_STREQ(face.options(instance), "");
    // A handler activated without one makes instances that look nothing up.
    LWInstanceFuncs inst{};
    LWItemFuncs items{};
    LWItemMotionHandler table{&inst, &items, nullptr, nullptr};
    ASSERT_EQ(module->activate("ItemMotionHandler", "Sinewrig", 4, nullptr, &table), AFUNC_OK);
    LWError error = nullptr;
    LWInstance orphan = inst.create(nullptr, bones[1], &error);
    ASSERT_NE(orphan, nullptr);
    EXPECT_STREQ(inst.descln(orphan), "Sinewrig");
    EXPECT_EQ(items.useItems(orphan)[0], bones[1]);
    inst.destroy(orphan);
    handlers->removeAll();
}
