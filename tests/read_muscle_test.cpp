// ReadMuscle through the loaded module and the stand-in Layout: what it asks
// the host, the Layout commands it issues, and the muscles that result.
#include <cstring>

#include "tests/cp932_text.h"
#include "tests/layout_session.h"
#include "tests/muscle_scene_data.h"

namespace {

constexpr const char* kSelectAnObject =
    "\x83\x49\x83\x75\x83\x57\x83\x46\x83\x4e\x83\x67\x82\xf0\x91\x49\x91\xf0\x82\xb5\x82\xc4\x82\xa9\x82\xe7"
    "\x8e\xc0\x8d\x73\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42";
constexpr const char* kSelectAnObjectUtf8 = "オブジェクトを選択してから実行してください。";

const std::string kApply = "ApplyServer ItemMotionHandler Sinewrig";

class ReadMuscle : public LayoutSession {
protected:
    // Nothing at all changed: no command, no registry block, no instance.
    void expectNothingDone() const {
        EXPECT_TRUE(layout.commands.empty());
        EXPECT_EQ(layout.globalMemory.find("Sinewrig"), nullptr);
        EXPECT_TRUE(handlers->instances().empty());
    }
    void expectOnlyTheMessage() const {
        ASSERT_EQ(layout.messages.size(), 1u);
        EXPECT_EQ(layout.messages[0].kind, "error");
        ASSERT_TRUE(layout.messages[0].line1);
        expectCp932(*layout.messages[0].line1, kSelectAnObject, kSelectAnObjectUtf8);
        EXPECT_FALSE(layout.messages[0].line2);
        expectNothingDone();
    }
};

}  // namespace

TEST_F(ReadMuscle, TwoMusclesGetEightCommandsInTwoPasses) {
    skelegon("A", muscleTags("2", "B"));
    skelegon("B", muscleTags("1", "A"));
    loadObject();
    ASSERT_EQ(readMuscle(), AFUNC_OK);
    const std::string a = hex(bones[0]), b = hex(bones[1]);
    EXPECT_EQ(commandTexts(), (std::vector<std::string>{"SelectItem " + a, "ItemColor 4", "SelectItem " + b,
                                                        "ItemColor 4", "SelectItem " + a, kApply,
                                                        "SelectItem " + b, kApply}));
    for (const host::CommandRun& run : layout.commands) EXPECT_TRUE(run.done) << run.text;
    EXPECT_EQ(layout.selection(), std::vector<LWItemID>{bones[1]});
    EXPECT_EQ(layout.scene.find(bones[0])->colour, 4);
    EXPECT_EQ(settingsOf(bones[0]), (Settings{bones[1], false, true}));
    EXPECT_EQ(settingsOf(bones[1]), (Settings{bones[0], true, false}));
    EXPECT_TRUE(layout.messages.empty());
}

TEST_F(ReadMuscle, ItemIDsAreUpperCaseHexWithoutLeadingZeros) {
    layout.scene.numbering = host::Scene::Numbering::plain;
    for (int i = 0; i < 11; ++i) layout.scene.addItem(LWI_LIGHT, "Light");
    skelegon("A", muscleTags("0"));
    loadObject();  // the object is item 12 (C), the bone item 13 (D)
    ASSERT_EQ(readMuscle(), AFUNC_OK);
    EXPECT_EQ(commandTexts(), (std::vector<std::string>{"SelectItem D", "ItemColor 4", "SelectItem D", kApply}));
    ASSERT_EQ(bones.size(), 1u);
    EXPECT_EQ(hex(bones[0]), "D");
}

TEST_F(ReadMuscle, FlagsAreReadAsAtoiReadsThem) {
    const std::vector<std::pair<std::string, Settings>> cases = {
        {"0", {nullptr, false, false}},    {"1", {nullptr, true, false}},        {"2", {nullptr, false, true}},
        {"3", {nullptr, true, true}},      {" 3", {nullptr, true, true}},        {"\t\n+3x", {nullptr, true, true}},
        {"abc", {nullptr, false, false}},  {"", {nullptr, false, false}},        {"-1", {nullptr, true, true}},
        {"99999999999999999999", {nullptr, true, true}},  // INT_MAX: both low bits set
        {"-99999999999999999999", {nullptr, false, false}},  // INT_MIN: neither
    };
    for (std::size_t i = 0; i < cases.size(); ++i) skelegon(("m" + std::to_string(i)).c_str(), muscleTags(cases[i].first));
    loadObject();
    ASSERT_EQ(readMuscle(), AFUNC_OK);
    for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(settingsOf(bones[i]), cases[i].second) << '"' << cases[i].first << '"';
}

TEST_F(ReadMuscle, ASelectionThatIsNoObjectGetsTheMessageAndNothingElse) {
    const double pivot[3] = {0, 0, 0}, tip[3] = {0, 0, 1};
    skelegon("A", muscleTags("3"), pivot, tip);
    loadObject();
    const LWItemID light = layout.scene.addItem(LWI_LIGHT, "Light");
    const LWItemID camera = layout.scene.addItem(LWI_CAMERA, "Camera");
    for (LWItemID selected : {bones[0], light, camera}) {
        layout.messages.clear();
        layout.select({selected, object});  // only the first selected item counts
        EXPECT_EQ(readMuscle(), AFUNC_OK);
        expectOnlyTheMessage();
    }
    EXPECT_TRUE(layout.meshViews.views().empty());
}

TEST_F(ReadMuscle, AnEmptySelectionOrAnObjectWithoutMeshGetsTheMessage) {
    loadObject();
    layout.select({});
    EXPECT_EQ(readMuscle(), AFUNC_OK);
    expectOnlyTheMessage();

    layout.messages.clear();
    layout.select({layout.scene.addItem(LWI_OBJECT, "Null")});
    EXPECT_EQ(readMuscle(), AFUNC_OK);
    expectOnlyTheMessage();
}

TEST_F(ReadMuscle, EachMissingServiceGivesBadGlobalAndNoEffect) {
    skelegon("A", muscleTags("3"));
    loadObject();
    const std::vector<std::string> services = {"LW Object Info 6", "LW Interface Info 5", "LW Item Info 3",
                                               "Global Memory", "Info Messages 2"};
    for (const std::string& missing : services) {
        void* record = layout.services.lookup(missing.c_str());
        layout.services.remove(missing);
        layout.services.lookups.clear();
        layout.log.clear();
        EXPECT_EQ(readMuscle(), AFUNC_BADGLOBAL) << missing;
        // All five are asked for before any is tested.
        EXPECT_EQ(layout.services.lookups, services) << missing;
        EXPECT_TRUE(layout.log.calls.empty()) << missing;
        expectNothingDone();
        EXPECT_TRUE(layout.messages.empty());
        layout.services.add(missing, record);
    }
}

TEST_F(ReadMuscle, WrongVersionTouchesNothing) {
    loadObject();
    layout.services.lookups.clear();
    EXPECT_EQ(readMuscle(1), AFUNC_BADVERSION);
    EXPECT_EQ(readMuscle(3), AFUNC_BADVERSION);
    EXPECT_TRUE(layout.services.lookups.empty());
    expectNothingDone();
}

TEST_F(ReadMuscle, OnlyExactColourNamesGetAColour) {
    const std::vector<std::pair<const char*, const char*>> colours = {
        {"Black", "ItemColor 0"}, {"White", "ItemColor 14"}, {"Magen", "ItemColor 12"}, {"Orang", "ItemColor 13"},
        {"dkred", nullptr},       {"DKRED", nullptr},        {"Magenta", nullptr},      {"Orange", nullptr},
        {"", nullptr},            {"Red ", nullptr}};
    for (const auto& [colour, command] : colours) skelegon(colour[0] ? colour : "empty", muscleTags("0", nullptr, colour));
    skelegon("uncoloured", muscleTags("0", nullptr, nullptr));
    loadObject();
    ASSERT_EQ(readMuscle(), AFUNC_OK);
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        expected.push_back("SelectItem " + hex(bones[i]));
        if (colours[i].second) expected.push_back(colours[i].second);
    }
    expected.push_back("SelectItem " + hex(bones.back()));
    const auto texts = commandTexts();
    ASSERT_GE(texts.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + expected.size()), expected);
    EXPECT_EQ(handlers->instances().size(), bones.size());  // every one is a muscle, coloured or not
}

TEST_F(ReadMuscle, AMissingOrUnmatchedTipGivesAMuscleWithoutReference) {
    skelegon("NoTip", muscleTags("3"));
    skelegon("Unmatched", muscleTags("3", "Nobody"));
    skelegon("Self", muscleTags("3", "Self"));
    loadObject();
    ASSERT_EQ(readMuscle(), AFUNC_OK);
    EXPECT_EQ(settingsOf(bones[0]), (Settings{nullptr, true, true}));
    EXPECT_EQ(settingsOf(bones[1]), (Settings{nullptr, true, true}));
    EXPECT_EQ(settingsOf(bones[2]), (Settings{bones[2], true, true}));
    EXPECT_EQ(handlers->useItems(instanceOn(bones[0])), std::vector<LWItemID>{bones[0]});
}

TEST_F(ReadMuscle, SkelegonsWithoutFlagsOrThatAreNoSkelegonsAreIgnored) {
    skelegon("Plain", {{kColr, "DkRed"}, {kMtip, "Muscle"}});
    const LWPntID p = modelerObject.addPoint(0, 0, 0, 0);
    const LWPolID face = modelerObject.addPolygon(0, host::kFacePolygon, {p}, false);
    modelerObject.polygon(face)->tags = muscleTags("3");
    modelerObject.polygon(face)->tags[LWID_('P', 'A', 'R', 'T')] = "Plain";
    skelegon(nullptr, muscleTags("3"));  // no PART: no bone bears its name
    skelegon("Muscle", muscleTags("1", "Plain"));
    loadObject();
    ASSERT_EQ(readMuscle(), AFUNC_OK);
    ASSERT_EQ(bones.size(), 3u);
    EXPECT_EQ(commandTexts(), (std::vector<std::string>{"SelectItem " + hex(bones[2]), "ItemColor 4",
                                                        "SelectItem " + hex(bones[2]), kApply}));
    EXPECT_EQ(settingsOf(bones[2]), (Settings{bones[0], true, false}));
}

TEST_F(ReadMuscle, DuplicateNamesTakeTheFirstBoneInTheHostsOrder) {
    skelegon("Twin", muscleTags("1", "Twin"));
    skelegon("Twin", muscleTags("2", "Twin"));
    loadObject();
    ASSERT_EQ(readMuscle(), AFUNC_OK);
    // Both entries name the first bone: it gets the later entry's values and every command twice.
    const std::string first = hex(bones[0]);
    EXPECT_EQ(commandTexts(), (std::vector<std::string>{"SelectItem " + first, "ItemColor 4", "SelectItem " + first,
                                                        "ItemColor 4", "SelectItem " + first, kApply,
                                                        "SelectItem " + first, kApply}));
    auto instances = handlers->instancesOf(bones[0]);
    ASSERT_EQ(instances.size(), 2u);
    for (LWInstance instance : instances) {
        EXPECT_EQ(handlers->useItems(instance), (std::vector<LWItemID>{bones[0], bones[0]}));
        EXPECT_EQ(handlers->flags(instance), unsigned(LWIMF_AFTERIK));
    }
    EXPECT_TRUE(handlers->instancesOf(bones[1]).empty());
}

TEST_F(ReadMuscle, RunningAgainUpdatesTheRecordsAndAppliesAgain) {
    skelegon("A", muscleTags("3", "B"));
    skelegon("B", muscleTags("0"));
    loadObject();
    ASSERT_EQ(readMuscle(), AFUNC_OK);
    handlers->evaluate(0.0);
    modelerObject.polygon(modelerObject.primary().polygons[0].get())->tags[kMflg] = "0";
    // Layout still has the object as loaded; a changed one is loaded again under the same bones.
    layout.scene.find(object)->mesh = host::ObjectMesh::fromLayer(modelerObject.primary());
    layout.select({object});
    layout.commands.clear();
    ASSERT_EQ(readMuscle(), AFUNC_OK);
    EXPECT_EQ(commandTexts().size(), 8u);
    for (LWItemID bone : bones) {
        auto instances = handlers->instancesOf(bone);
        ASSERT_EQ(instances.size(), 2u);  // the command does not look for a handler already there
        EXPECT_EQ(handlers->flags(instances[0]), 0u);
        EXPECT_EQ(handlers->flags(instances[1]), 0u);
    }
    EXPECT_EQ(handlers->useItems(handlers->instancesOf(bones[0])[1]), (std::vector<LWItemID>{bones[0], bones[1]}));
}

TEST_F(ReadMuscle, RunningAgainKeepsTheMuscleControlsAndNewMusclesStartAtTheDefaults) {
    skelegon("A", muscleTags("1", "B"));
    skelegon("B", muscleTags("0"));
    loadObject();
    ASSERT_EQ(readMuscle(), AFUNC_OK);
    LWInstance first = handlers->instancesOf(bones[0])[0];
    EXPECT_EQ(handlers->save(first).size(), 6u);  // at the defaults: the six values alone
    // Controls given to A's record through its scene data, then ReadMuscle again.
    host::SceneData data = handlers->save(first);
    const host::SceneData extension = controlsSceneData(
        {.bulge = 2, .volumeAxes = 1, .stretchMin = 0.5f, .stretchMax = 3, .influence = 0.25f, .aim = 1});
    data.insert(data.end(), extension.begin(), extension.end());
    ASSERT_EQ(handlers->load(first, data), nullptr);
    layout.select({object});
    ASSERT_EQ(readMuscle(), AFUNC_OK);
    for (LWInstance instance : handlers->instancesOf(bones[0])) {
        const host::SceneData saved = handlers->save(instance);
        ASSERT_EQ(saved.size(), 13u);
        EXPECT_EQ(host::SceneData(saved.begin() + 6, saved.end()), extension);
    }
    for (LWInstance instance : handlers->instancesOf(bones[1])) EXPECT_EQ(handlers->save(instance).size(), 6u);
}

TEST_F(ReadMuscle, WorksFirstOnAFreshHostAndAfterTheLastInstanceWent) {
    const double pivot[3] = {0, 0, 0}, tip[3] = {0, 0, 1}, end[3] = {0, 0, 2};
    skelegon("A", muscleTags("2", "B"), pivot, tip);
    skelegon("B", muscleTags("2"), tip, end);
    loadObject();
    for (int round = 0; round < 2; ++round) {
        layout.log.clear();
        layout.select({object});
        ASSERT_EQ(readMuscle(), AFUNC_OK);
        std::vector<std::string> pool;
        for (const host::HostCall& call : layout.log.calls)
            if (call.function == "find" || call.function == "create") pool.push_back(call.function);
        // The first run makes the block; after the last instance went it holds null and is found again.
        ASSERT_GE(pool.size(), 2u);
        EXPECT_EQ(pool[0], "find");
        EXPECT_EQ(pool[1], round == 0 ? "create" : "find");
        EXPECT_EQ(settingsOf(bones[0]), (Settings{bones[1], false, true}));
        handlers->removeAll();
        void* block = layout.globalMemory.find("Sinewrig");
        ASSERT_NE(block, nullptr);
        void* held = reinterpret_cast<void*>(1);
        std::memcpy(&held, block, sizeof held);
        EXPECT_EQ(held, nullptr);
    }
}

TEST_F(ReadMuscle, ScansTheMeshOnceAndReleasesTheView) {
    skelegon("A", muscleTags("3"));
    loadObject();
    layout.log.clear();
    ASSERT_EQ(readMuscle(), AFUNC_OK);
    ASSERT_EQ(layout.meshViews.views().size(), 1u);
    EXPECT_TRUE(layout.meshViews.views()[0]->destroyed);
    std::vector<std::string> meshCalls;
    for (const host::HostCall& call : layout.log.calls)
        if (call.function == "meshInfo" || call.function == "scanPolys" || call.function == "destroy")
            meshCalls.push_back(call.function);
    EXPECT_EQ(meshCalls, (std::vector<std::string>{"meshInfo", "scanPolys", "destroy"}));
    // The view is released before the first command.
    std::size_t destroyAt = 0, firstCommand = 0;
    for (std::size_t i = 0; i < layout.log.calls.size(); ++i) {
        if (layout.log.calls[i].function == "destroy") destroyAt = i;
        if (layout.log.calls[i].function == "evaluate" && !firstCommand) firstCommand = i;
    }
    EXPECT_LT(destroyAt, firstCommand);
}

TEST_F(ReadMuscle, AsksEveryBoneItsNameOnceWhateverTheNumberOfEntries) {
    constexpr int kBones = 300;
    for (int i = 0; i < kBones; ++i)
        skelegon(("bone" + std::to_string(i)).c_str(), muscleTags("2", ("bone" + std::to_string(kBones - 1 - i)).c_str()));
    loadObject();
    layout.log.clear();
    ASSERT_EQ(readMuscle(), AFUNC_OK);
    int names = 0, firsts = 0, nexts = 0;
    for (const host::HostCall& call : layout.log.calls) {
        names += call.function == "name";
        firsts += call.function == "first";
        nexts += call.function == "next";
    }
    EXPECT_EQ(names, kBones);
    EXPECT_EQ(firsts, 1);
    EXPECT_EQ(nexts, kBones);
    EXPECT_EQ(settingsOf(bones[0]).reference, bones[kBones - 1]);
    EXPECT_EQ(settingsOf(bones[kBones - 1]).reference, bones[0]);
}
