// The muscle options panel through the loaded module: the ItemMotionInterface
// activation, the panel the host is handed, and what OK and Cancel do.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "tests/cp932_text.h"
#include "tests/layout_session.h"
#include "tests/muscle_scene_data.h"

using host::pickItem;
using host::pressCancel;
using host::pressOk;
using host::setCheck;

namespace {

class OptionsPanel : public LayoutSession {
protected:
    void SetUp() override {
        LayoutSession::SetUp();
        bone = layout.scene.addItem(LWI_BONE, "Biceps");
        near = layout.scene.addItem(LWI_BONE, "Near");
        far = layout.scene.addItem(LWI_BONE, "Far");
        const double nearAt[3] = {0, 0, 1}, farAt[3] = {0, 0, 4};
        layout.scene.setValue(near, LWIP_POSITION, nearAt);
        layout.scene.setValue(far, LWIP_POSITION, farAt);
        instance = handlers->apply(bone);
        ASSERT_NE(instance, nullptr);
    }

    host::MotionHandlers::Options open(host::OpenScript script) {
        layout.panels.queue(std::move(script));
        return handlers->openOptions(instance);
    }
    const host::Panel& panel() const { return *layout.panels.panels.at(0); }
    std::vector<std::string> calls() const {
        std::vector<std::string> names;
        for (const host::HostCall& call : layout.log.calls) names.push_back(call.function);
        return names;
    }
    // The bone's z scale once evaluated at time 0: its stretch towards the reference.
    double stretch() {
        handlers->evaluate(0.0);
        return layout.motion.motionOf(bone)->scaling[2];
    }

    LWItemID bone, near, far;
    LWInstance instance;
};

}  // namespace

TEST_F(OptionsPanel, ActivationAcceptsVersionFourOnlyAndGivesOnlyTheOptionsFunction) {
    for (int version : {3, 5}) {
        LWInterface local{};
        std::memset(&local, 0x5A, sizeof local);
        LWInterface before = local;
        EXPECT_EQ(module->activate("ItemMotionInterface", "Sinewrig", version, host::Services::global(), &local),
                  AFUNC_BADVERSION);
        EXPECT_EQ(std::memcmp(&local, &before, sizeof local), 0);
    }
    LWInterface local{};
    local.inst = instance;
    local.panel = &local;
    local.command = reinterpret_cast<LWError (*)(LWInstance, const char*)>(&local);
    layout.services.lookups.clear();
    EXPECT_EQ(module->activate("ItemMotionInterface", "Sinewrig", 4, host::Services::global(), &local), AFUNC_OK);
    EXPECT_EQ(local.inst, instance);
    EXPECT_EQ(local.panel, nullptr);
    EXPECT_NE(local.options, nullptr);
    EXPECT_EQ(local.command, nullptr);
    EXPECT_TRUE(layout.services.lookups.empty());
}

TEST_F(OptionsPanel, ShowsReferenceListAndTwoCheckBoxesInAFramedBlockingPanel) {
    auto result = open(pressCancel());
    EXPECT_TRUE(result.called);
    EXPECT_EQ(result.error, nullptr);
    ASSERT_EQ(layout.panels.panels.size(), 1u);
    EXPECT_EQ(panel().title, "Sinewrig");
    EXPECT_EQ(panel().data, nullptr);
    EXPECT_EQ(panel().openFlags, std::vector<int>{7});
    EXPECT_TRUE(panel().destroyed);
    ASSERT_GE(panel().controls.size(), 3u);
    const host::Control& list = *panel().controls[0];
    EXPECT_EQ(list.kind, "LWListControl");
    expectCp932(list.label, "\x8e\x51\x8f\xc6", "参照");
    EXPECT_EQ(list.desc.lwitem.type, LWT_LWITEM);
    EXPECT_EQ(list.desc.lwitem.global, reinterpret_cast<void*>(host::Services::global()));
    EXPECT_EQ(list.desc.lwitem.itemType, LWI_BONE);
    EXPECT_EQ(list.desc.lwitem.list, nullptr);
    EXPECT_EQ(list.desc.lwitem.count, 0);
    EXPECT_EQ(list.desc.lwitem.width, 0);
    EXPECT_EQ(panel().controls[1]->kind, "BoolControl");
    expectCp932(panel().controls[1]->label, "\x91\xcc\x90\xcf\x82\xf0\x95\xdb\x8e\x9d", "体積を保持");
    EXPECT_EQ(panel().controls[1]->desc.type, LWT_BOOLEAN);
    EXPECT_EQ(panel().controls[2]->kind, "BoolControl");
    EXPECT_EQ(panel().controls[2]->label, "After IK");
    EXPECT_EQ(panel().controls[2]->desc.type, LWT_BOOLEAN);
    // The list offers the scene's bones.
    auto* items = dynamic_cast<const host::ItemListControl*>(&list);
    ASSERT_NE(items, nullptr);
    EXPECT_EQ(items->items.size(), 3u);
}

TEST_F(OptionsPanel, ShowsTheRecordAndStoresAndRebindsOnOk) {
    handlers->load(instance, muscleSceneData(bone, near, 0, 1));
    handlers->evaluate(0.0);
    layout.log.clear();
    layout.panels.log.clear();
    auto result = open(pressOk({pickItem(far), setCheck(2, true), setCheck(3, false)}));
    EXPECT_EQ(result.error, nullptr);
    const std::vector<std::string> values = {"1.1: set CTL_VALUE " + std::to_string(int(reinterpret_cast<std::uintptr_t>(near))),
                                             "1.2: set CTL_VALUE 0", "1.3: set CTL_VALUE 1", "1.4: set CTL_VALUE 0",
                                             "1.5: set CTL_VALUE 1", "1.6: set CTL_VALUE 0", "1.7: set CTL_VALUE 0",
                                             "1.8: set CTL_VALUE 1", "1.9: set CTL_VALUE 0"};
    std::vector<std::string> sets;
    for (const std::string& line : layout.panels.log)
        if (line.find(": set CTL_VALUE") != std::string::npos) sets.push_back(line);
    EXPECT_EQ(sets, values);
    EXPECT_EQ(settingsOf(bone), (Settings{far, true, false}));
    // The rest pose is bound again at once, for the new reference, before any evaluation.
    const auto asked = calls();
    EXPECT_NE(std::find(asked.begin(), asked.end(), "restLength"), asked.end());
    const host::SceneData saved = handlers->save(instance);
    ASSERT_EQ(saved.size(), 6u);
    EXPECT_EQ(saved[5].values, (std::vector<double>{0, 0, -3}));  // the tip (0, 0, 1) seen from Far
    EXPECT_NEAR(stretch(), 1.0, 1e-12);  // Far's rest tip is at (0, 0, 1): one rest length from the pivot
}

TEST_F(OptionsPanel, OkWithoutChangesStillRebinds) {
    handlers->load(instance, muscleSceneData(bone, near, 0, 1, 7.0f, {9, 9, 9}));
    layout.log.clear();
    open(pressOk());
    const host::SceneData saved = handlers->save(instance);
    ASSERT_EQ(saved.size(), 6u);
    EXPECT_EQ(saved[4].values, std::vector<double>{1});
    EXPECT_EQ(saved[5].values, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(settingsOf(bone), (Settings{near, false, true}));
}

TEST_F(OptionsPanel, CancelChangesNothing) {
    handlers->load(instance, muscleSceneData(bone, near, 1, 1, 7.0f, {9, 9, 9}));
    const host::SceneData before = handlers->save(instance);
    layout.log.clear();
    open(pressCancel({pickItem(far), setCheck(2, false), setCheck(3, false)}));
    EXPECT_EQ(handlers->save(instance), before);
    for (const std::string& call : calls()) EXPECT_TRUE(call != "restLength" && call != "param") << call;
}

TEST_F(OptionsPanel, ClearingTheReferenceStoresNoneAndTheBoneKeepsItsMotion) {
    handlers->load(instance, muscleSceneData(bone, near, 0, 1));
    open(pressOk({pickItem(nullptr)}));
    EXPECT_EQ(settingsOf(bone).reference, nullptr);
    EXPECT_EQ(handlers->useItems(instance), std::vector<LWItemID>{bone});
    layout.log.clear();
    handlers->evaluate(0.0);
    for (const std::string& call : calls()) EXPECT_NE(call, "setParam");
}

TEST_F(OptionsPanel, WithoutPanelServiceGivesAnEmptyErrorText) {
    layout.services.remove("LWPanelServices");
    auto result = handlers->openOptions(instance);
    ASSERT_TRUE(result.called);
    ASSERT_NE(result.error, nullptr);
    EXPECT_STREQ(result.error, "");
    EXPECT_TRUE(layout.panels.panels.empty());
}

TEST_F(OptionsPanel, APanelThatCannotBeMadeWholeIsDestroyedAndNothingChanges) {
    handlers->load(instance, muscleSceneData(bone, near, 0, 1));
    layout.panels.createsBeforeFailure = 0;
    EXPECT_EQ(handlers->openOptions(instance).error, nullptr);
    EXPECT_TRUE(layout.panels.panels.empty());
    layout.panels.createsBeforeFailure = -1;
    for (const char* kind : {"LWListControl", "BoolControl", "PopupControl", "FloatControl"}) {
        layout.panels.refusedKinds = {kind};
        const std::size_t made = layout.panels.panels.size();
        EXPECT_EQ(handlers->openOptions(instance).error, nullptr) << kind;
        ASSERT_EQ(layout.panels.panels.size(), made + 1);
        EXPECT_TRUE(layout.panels.panels.back()->destroyed) << kind;
        EXPECT_TRUE(layout.panels.panels.back()->openFlags.empty()) << kind;
    }
    EXPECT_EQ(settingsOf(bone), (Settings{near, false, true}));
}

TEST_F(OptionsPanel, TheMuscleControlsFollowTheFirstThreeInOrder) {
    open(pressCancel());
    ASSERT_EQ(panel().controls.size(), 9u);
    const host::Control& axes = *panel().controls[3];
    EXPECT_EQ(axes.kind, "PopupControl");
    expectCp932(axes.label, "\x91\xcc\x90\xcf\x82\xcc\x95\xfb\x8c\xfc", "体積の方向");
    EXPECT_EQ(axes.desc.choice.type, LWT_CHOICE);
    EXPECT_EQ(axes.desc.choice.vertical, 0);
    ASSERT_NE(axes.desc.choice.items, nullptr);
    expectCp932(axes.desc.choice.items[0], "X \x82\xc6 Y", "X と Y");
    EXPECT_STREQ(axes.desc.choice.items[1], "X");
    EXPECT_STREQ(axes.desc.choice.items[2], "Y");
    EXPECT_EQ(axes.desc.choice.items[3], nullptr);
    const struct {
        const char* bytes;
        const char* utf8;
    } floats[] = {{"\x96\x63\x82\xe7\x82\xdd", "膨らみ"},
                  {"\x8d\xc5\x8f\xac\x82\xcc\x90\x4c\x82\xd1", "最小の伸び"},
                  {"\x8d\xc5\x91\xe5\x82\xcc\x90\x4c\x82\xd1 (0 = \x96\xb3\x90\xa7\x8c\xc0)", "最大の伸び (0 = 無制限)"},
                  {"\x89\x65\x8b\xbf\x93\x78", "影響度"}};
    for (int i = 0; i < 4; ++i) {
        const host::Control& control = *panel().controls[4 + i];
        EXPECT_EQ(control.kind, "FloatControl") << i;
        expectCp932(control.label, floats[i].bytes, floats[i].utf8);
        EXPECT_EQ(control.desc.type, LWT_FLOAT) << i;
    }
}

TEST_F(OptionsPanel, TheMuscleControlsShowTheSavedSettingsAndOkStoresThemWithinRange) {
    handlers->load(instance, withControls(muscleSceneData(bone, near, 1, 1),
                                          {.bulge = 2.5f, .volumeAxes = 1, .stretchMin = 0.5f, .stretchMax = 3,
                                           .influence = 0.75f}));
    layout.panels.log.clear();
    open(pressOk({host::chooseItem(2), host::enterFloat(5, 12.0), host::enterFloat(6, -1.0), host::enterFloat(7, 1.25),
                  host::enterFloat(8, 0.5)}));
    std::vector<std::string> shown;
    for (const std::string& line : layout.panels.log)
        if (line.rfind("1.4: set", 0) == 0 || line.rfind("1.5: set", 0) == 0 || line.rfind("1.6: set", 0) == 0 ||
            line.rfind("1.7: set", 0) == 0 || line.rfind("1.8: set", 0) == 0)
            shown.push_back(line);
    EXPECT_EQ(shown, (std::vector<std::string>{"1.4: set CTL_VALUE 1", "1.5: set CTL_VALUE 2.5", "1.6: set CTL_VALUE 0.5",
                                               "1.7: set CTL_VALUE 3", "1.8: set CTL_VALUE 0.75"}));
    // Bulge above 10 and a negative floor are brought into range.
    const host::SceneData saved = handlers->save(instance);
    ASSERT_EQ(saved.size(), 12u);
    EXPECT_EQ(host::SceneData(saved.begin() + 6, saved.end()),
              controlsSceneData({.bulge = 10, .volumeAxes = 2, .stretchMin = 0, .stretchMax = 1.25f, .influence = 0.5f}));
    for (const std::string& problem : layout.panels.problems) ADD_FAILURE() << problem;
}

TEST_F(OptionsPanel, CancelLeavesTheMuscleControlsAndDefaultsSaveNoExtension) {
    handlers->load(instance, muscleSceneData(bone, near, 1, 1));
    open(pressCancel({host::chooseItem(1), host::enterFloat(5, 3.0)}));
    EXPECT_EQ(handlers->save(instance).size(), 6u);
    // OK with every control back at its default saves the six values alone.
    open(pressOk({host::chooseItem(2), host::enterFloat(8, 0.5)}));
    EXPECT_EQ(handlers->save(instance).size(), 12u);
    open(pressOk({host::chooseItem(0), host::enterFloat(8, 1.0)}));
    EXPECT_EQ(handlers->save(instance).size(), 6u);
}

// The ninth control, the aim: a popup laid out as the volume axes' is, after the numbers.
TEST_F(OptionsPanel, TheAimIsAPopupOfHeadingAndPitchOrTheShortestTurn) {
    open(pressCancel());
    ASSERT_EQ(panel().controls.size(), 9u);
    const host::Control& aim = *panel().controls[8];
    EXPECT_EQ(aim.kind, "PopupControl");
    // 向きの合わせ方; ヘディングとピッチ, 最短の回転.
    const char* label = "\x8c\xfc\x82\xab\x82\xcc\x8d\x87\x82\xed\x82\xb9\x95\xfb";
    const char* items[] = {"\x83\x77\x83\x66\x83\x42\x83\x93\x83\x4f\x82\xc6\x83\x73\x83\x62\x83\x60",
                           "\x8d\xc5\x92\x5a\x82\xcc\x89\xf1\x93\x5d"};
    EXPECT_EQ(aim.label, label);
    expectCp932(aim.label, label, "向きの合わせ方");
    const host::Control& axes = *panel().controls[3];
    EXPECT_EQ(aim.desc.choice.type, axes.desc.choice.type);
    EXPECT_EQ(aim.desc.choice.vertical, axes.desc.choice.vertical);
    ASSERT_NE(aim.desc.choice.items, nullptr);
    EXPECT_STREQ(aim.desc.choice.items[0], items[0]);
    EXPECT_STREQ(aim.desc.choice.items[1], items[1]);
    expectCp932(aim.desc.choice.items[0], items[0], "ヘディングとピッチ");
    expectCp932(aim.desc.choice.items[1], items[1], "最短の回転");
    EXPECT_EQ(aim.desc.choice.items[2], nullptr);
}

TEST_F(OptionsPanel, TheAimShowsTheSavedOneOkStoresTheChoiceAndCancelNothing) {
    handlers->load(instance, muscleSceneData(bone, near, 1, 1));
    // What the latest panel's ninth control was set to show.
    auto aimShown = [&] {
        std::string shown;
        for (const std::string& line : layout.panels.log)
            if (const std::size_t at = line.find(".9: set "); at != std::string::npos) shown = line.substr(at + 4);
        return shown;
    };
    // The shortest turn chosen alone: the extension at its defaults, then the aim byte.
    open(pressOk({host::chooseItem(1, 9)}));
    EXPECT_EQ(aimShown(), "set CTL_VALUE 0");
    host::SceneData saved = handlers->save(instance);
    ASSERT_EQ(saved.size(), 13u);
    EXPECT_EQ(saved[12], (host::SceneWrite{"U1", {1}}));
    // Cancel after choosing heading and pitch again keeps the shortest turn.
    open(pressCancel({host::chooseItem(0, 9)}));
    EXPECT_EQ(aimShown(), "set CTL_VALUE 1");
    EXPECT_EQ(handlers->save(instance), saved);
    // Heading and pitch again: back to the six values alone.
    open(pressOk({host::chooseItem(0, 9)}));
    EXPECT_EQ(handlers->save(instance).size(), 6u);
    for (const std::string& problem : layout.panels.problems) ADD_FAILURE() << problem;
}

TEST_F(OptionsPanel, AnAimValueOtherThanTheTwoItemsFromTheHostIsHeadingAndPitch) {
    handlers->load(instance, muscleSceneData(bone, near, 0, 1));
    for (int odd : {2, -1, 255, 1 << 20}) {
        SCOPED_TRACE(odd);
        open(pressOk({host::chooseItem(1, 9)}));
        ASSERT_EQ(handlers->save(instance).size(), 13u);
        open(pressOk({host::forceValue(9, odd)}));
        EXPECT_EQ(handlers->save(instance).size(), 6u);
    }
}

TEST_F(OptionsPanel, AmongThousandsOfBonesTheListShowsAScreenfulAndAnyBoneCanBePicked) {
    // 300 more bones: the list keeps the first 256 it offers, as the host's
    // shows only a screenful, yet the 303rd bone is still a bone to pick.
    LWItemID last = nullptr;
    for (int i = 0; i < 300; ++i) last = layout.scene.addItem(LWI_BONE, "Extra" + std::to_string(i));
    const double lastAt[3] = {0, 0, 1};
    layout.scene.setValue(last, LWIP_POSITION, lastAt);
    LWItemID object = layout.scene.addItem(LWI_OBJECT, "NotABone");
    handlers->load(instance, muscleSceneData(bone, near, 0, 1));
    auto result = open(pressOk({pickItem(last)}));
    EXPECT_EQ(result.error, nullptr);
    EXPECT_TRUE(layout.panels.problems.empty()) << layout.panels.problems[0];
    auto* list = dynamic_cast<const host::ItemListControl*>(panel().controls[0].get());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->items.size(), 256u);
    EXPECT_EQ(list->items[0].second, "Biceps");
    EXPECT_EQ(list->items[255].second, "Extra252");
    EXPECT_EQ(settingsOf(bone).reference, last);
    // An item of another type is not offered, wherever it stands.
    open(pressOk({pickItem(object)}));
    ASSERT_EQ(layout.panels.problems.size(), 1u);
    EXPECT_NE(layout.panels.problems[0].find("is not offered"), std::string::npos) << layout.panels.problems[0];
    EXPECT_EQ(settingsOf(bone).reference, last);
    layout.panels.problems.clear();
}
