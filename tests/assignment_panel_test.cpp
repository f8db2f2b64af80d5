// The assignment panel and the reference chooser as the host sees them:
// records handed over, list contents read through the callbacks, clicks.
#include <algorithm>

#include "tests/cp932_text.h"
#include "tests/modeler_session.h"

using host::chooseItem;
using host::clickCell;
using host::pressCancel;
using host::pressOk;

namespace {

class AssignmentPanel : public ModelerSession {
protected:
    void SetUp() override {
        ModelerSession::SetUp();
        upper = modeler.object.addSkelegon(0, "Upper", true);
        lower = modeler.object.addSkelegon(0, "Lower", false);
    }

    // One SetMuscle run with the given clicks, confirmed; `choosers` script the chooser panels they open.
    void runWithClicks(std::vector<host::PanelAction> clicks, std::vector<host::OpenScript> choosers = {}) {
        modeler.panels.queue(pressOk(std::move(clicks)));
        for (host::OpenScript& chooser : choosers) modeler.panels.queue(std::move(chooser));
        ASSERT_EQ(runSetMuscle(), AFUNC_OK);
    }

    std::vector<std::string> logFrom(size_t first) const {
        const auto& log = modeler.panels.log;
        return std::vector<std::string>(log.begin() + std::min(first, log.size()), log.end());
    }

    LWPolID upper, lower;
};

TEST_F(AssignmentPanel, HandsTheHostAFramedBlockingListPanel) {
    runWithClicks({});
    ASSERT_EQ(modeler.panels.panels.size(), 1u);
    const host::Panel& panel = *modeler.panels.panels[0];
    EXPECT_EQ(panel.title, "SetMuscle");
    EXPECT_EQ(panel.data, nullptr);
    EXPECT_EQ(panel.openFlags, (std::vector<int>{PANF_BLOCKING | PANF_CANCEL | PANF_FRAME}));
    ASSERT_EQ(panel.controls.size(), 1u);
    const host::Control& list = *panel.controls[0];
    EXPECT_EQ(list.kind, "MultiListBoxControl");
    EXPECT_EQ(list.label, "");
    EXPECT_EQ(list.desc.type, LWT_MLIST);
    EXPECT_EQ(list.desc.multiList.width, 360);
    EXPECT_EQ(list.desc.multiList.visItems, 8);
    EXPECT_EQ(list.desc.multiList.top, 0);
    EXPECT_TRUE(list.desc.multiList.countFn && list.desc.multiList.nameFn && list.desc.multiList.colWidth);
    EXPECT_NE(list.userData, nullptr);
    EXPECT_NE(list.event, nullptr);
    EXPECT_EQ(modeler.panels.log,
              (std::vector<std::string>{"1: create \"SetMuscle\"", "1: addControl MultiListBoxControl \"\"",
                                        "1.1: set CTL_USERDATA", "1.1: set CTL_USEREVENT", "1: open 7", "1> OK",
                                        "1: destroy"}));
}

TEST_F(AssignmentPanel, ListShowsTitlesWidthsAndDefaultRows) {
    runWithClicks({});
    auto* list = assignmentList();
    ASSERT_TRUE(list);
    // Read once when added, before it has user data, and once on opening.
    ASSERT_EQ(list->readings.size(), 2u);
    const host::ListView& unset = list->readings[0];
    EXPECT_EQ(unset.widths, (std::vector<int>{120, 120, 60, 60}));
    EXPECT_EQ(unset.titles, (std::vector<std::optional<std::string>>(4)));
    EXPECT_TRUE(unset.cells.empty());

    const host::ListView& view = list->view();
    EXPECT_EQ(view.widths, (std::vector<int>{120, 120, 60, 60}));
    ASSERT_EQ(view.titles.size(), 4u);
    for (const auto& title : view.titles) ASSERT_TRUE(title);
    expectCp932(*view.titles[0], "\x96\xbc\x91\x4f", "名前");
    expectCp932(*view.titles[1], "\x8e\x51\x8f\xc6", "参照");
    expectCp932(*view.titles[2], "\x91\xcc\x90\xcf\x82\xf0\x95\xdb\x8e\x9d", "体積を保持");
    EXPECT_EQ(view.titles[3], "AfterIK");
    ASSERT_EQ(view.cells.size(), 1u);
    EXPECT_EQ(view.cells[0], (std::vector<std::optional<std::string>>{"Upper", "--", " ", "v"}));
}

TEST_F(AssignmentPanel, CallbacksGiveNoCellOutsideTheTable) {
    runWithClicks({});
    auto* list = assignmentList();
    ASSERT_TRUE(list);
    // Read while the panel was open, over the module's own one-row assignment.
    const host::ListView& view = list->view();
    ASSERT_EQ(view.cells.size(), 1u);
    EXPECT_EQ(view.cells[0][0], "Upper");
    EXPECT_EQ(view.outside, (std::vector<std::optional<std::string>>(5, std::nullopt)));
    EXPECT_EQ(view.widthBeforeFirst, 0);
    // And without any assignment at all.
    const auto callbacks = list->desc.multiList;
    EXPECT_EQ(callbacks.nameFn(nullptr, 0, 0), nullptr);
    EXPECT_EQ(callbacks.countFn(nullptr), 0);
}

TEST_F(AssignmentPanel, ClickBoundariesFollowTheColumnWidths) {
    struct Case {
        int x;
        const char* flags;  // MFLG after the click
        bool chooser;
    } cases[] = {{0, "2", false},   {120, "2", false}, {121, "2", true},  {239, "2", true}, {240, "3", false},
                 {299, "3", false}, {300, "0", false}, {359, "0", false}, {360, "0", false}, {5000, "0", false}};
    for (const Case& c : cases) {
        host::Modeler run;
        LWPolID skelegon = run.object.addSkelegon(0, "Upper", true);
        run.panels.queue(pressOk({clickCell(0, c.x)}));
        if (c.chooser) run.panels.queue(pressCancel());
        ASSERT_EQ(module->activate("CommandSequence", "SetMuscle", 3, host::Services::global(), &run.command), AFUNC_OK);
        EXPECT_STREQ(run.object.tag(skelegon, MFLG), c.flags) << "x " << c.x;
        EXPECT_EQ(run.panels.panels.size(), c.chooser ? 2u : 1u) << "x " << c.x;
        bool redrawn = std::count(run.panels.log.begin(), run.panels.log.end(), "1.1: draw 3") == 1;
        EXPECT_EQ(redrawn, c.x > 120) << "x " << c.x;
        EXPECT_TRUE(run.panels.problems.empty()) << "x " << c.x;
    }
}

TEST_F(AssignmentPanel, ClickReadsPositionThenRowAndRedrawsTheNewTexts) {
    runWithClicks({clickCell(0, kPreserveVolumeX)});
    EXPECT_EQ(logFrom(4), (std::vector<std::string>{"1: open 7", "1.1> click row 0 x 270", "1.1: get CTL_MOUSEX = 270",
                                                    "1.1: get CTL_VALUE = 0", "1.1: draw 3", "1> OK", "1: destroy"}));
    EXPECT_EQ(assignmentList()->view().cells.at(0), (std::vector<std::optional<std::string>>{"Upper", "--", "v", "v"}));
}

TEST_F(AssignmentPanel, ClickWithoutARowOfTheListChangesNothing) {
    runWithClicks({clickCell(-1, kPreserveVolumeX), clickCell(1, kAfterIKX), clickCell(7, kReferenceX)});
    for (const std::string& line : modeler.panels.log) EXPECT_EQ(line.find("draw"), std::string::npos) << line;
    EXPECT_EQ(modeler.panels.panels.size(), 1u);
    EXPECT_EQ(tag(upper, MFLG), "2");
}

TEST_F(AssignmentPanel, SecondClickSwitchesAnOptionBack) {
    runWithClicks({clickCell(0, kPreserveVolumeX), clickCell(0, kPreserveVolumeX), clickCell(0, kAfterIKX),
                   clickCell(0, kAfterIKX)});
    std::vector<std::string> preserve, afterIK;
    for (const host::ListView& reading : assignmentList()->readings)
        if (!reading.cells.empty()) {
            preserve.push_back(*reading.cells[0][2]);
            afterIK.push_back(*reading.cells[0][3]);
        }
    EXPECT_EQ(preserve, (std::vector<std::string>{" ", "v", " ", " ", " "}));
    EXPECT_EQ(afterIK, (std::vector<std::string>{"v", "v", "v", " ", "v"}));
    EXPECT_EQ(tag(upper, MFLG), "2");
}

TEST_F(AssignmentPanel, ChooserOffersEverySkelegonUnderTipParent) {
    runWithClicks({clickCell(0, kReferenceX)}, {pressOk({chooseItem(1)})});
    ASSERT_EQ(modeler.panels.panels.size(), 2u);
    const host::Panel& chooser = *modeler.panels.panels[1];
    EXPECT_EQ(chooser.title, "SetMuscle");
    EXPECT_EQ(chooser.openFlags, (std::vector<int>{7}));
    ASSERT_EQ(chooser.controls.size(), 1u);
    const auto& popup = dynamic_cast<const host::PopupControl&>(*chooser.controls[0]);
    EXPECT_EQ(popup.label, "TipParent");
    EXPECT_EQ(popup.desc.type, LWT_CHOICE);
    EXPECT_EQ(popup.desc.choice.vertical, 0);
    EXPECT_EQ(popup.items, (std::vector<std::string>{"Upper", "Lower"}));
    // The popup is not preset to the row's reference; its value is read after OK.
    EXPECT_EQ(logFrom(6), (std::vector<std::string>{"1.1: get CTL_MOUSEX = 180", "1.1: get CTL_VALUE = 0",
                                                    "2: create \"SetMuscle\"", "2: addControl PopupControl \"TipParent\"",
                                                    "2: open 7", "2.1> choose 1", "2> OK", "2.1: get CTL_VALUE = 1",
                                                    "2: destroy", "1.1: draw 3", "1> OK", "1: destroy"}));
    EXPECT_EQ(assignmentList()->view().cells.at(0).at(1), "Lower");
    EXPECT_EQ(tag(upper, MTIP), "Lower");
}

TEST_F(AssignmentPanel, CancellingTheChooserClearsTheReference) {
    runWithClicks({clickCell(0, kReferenceX), clickCell(0, kReferenceX)},
                  {pressOk({chooseItem(0)}), pressCancel({chooseItem(1)})});
    std::vector<std::string> reference;
    for (const host::ListView& reading : assignmentList()->readings)
        if (!reading.cells.empty()) reference.push_back(*reading.cells[0][1]);
    EXPECT_EQ(reference, (std::vector<std::string>{"--", "Upper", "--"}));
    EXPECT_EQ(tag(upper, MTIP), std::nullopt);
}

TEST_F(AssignmentPanel, SameNamedSkelegonsAreSeparateChoices) {
    LWPolID twin = modeler.object.addSkelegon(0, "Lower", true);
    runWithClicks({clickCell(0, kReferenceX)}, {pressOk({chooseItem(2)})});
    auto* popup = dynamic_cast<const host::PopupControl*>(modeler.panels.panels.at(1)->controls.at(0).get());
    ASSERT_TRUE(popup);
    EXPECT_EQ(popup->items, (std::vector<std::string>{"Upper", "Lower", "Lower"}));
    EXPECT_EQ(tag(upper, MTIP), "Lower");
    // The chosen position decides the polygon whose name is read for the tag.
    auto reads = modeler.callsTo("polyTag");
    ASSERT_FALSE(reads.empty());
    EXPECT_EQ(reads.back().polygon, twin);
    EXPECT_EQ(reads.back().tag, PART);
}

TEST_F(AssignmentPanel, EmptyListEndsWithOkOrCancel) {
    modeler.object.polygon(upper)->selected = false;
    for (bool confirm : {true, false}) {
        modeler.panels.queue(confirm ? pressOk() : pressCancel());
        EXPECT_EQ(runSetMuscle(), AFUNC_OK);
    }
    EXPECT_EQ(modeler.panels.panels.size(), 2u);
    EXPECT_TRUE(assignmentList(1)->view().cells.empty());
    EXPECT_TRUE(modeler.callsTo("polTag").empty());
    EXPECT_EQ(modeler.callsTo("done").size(), 2u);
}

}  // namespace
