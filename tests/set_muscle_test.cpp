// SetMuscle through the loaded module: what it tags, when, and what it leaves alone.
#include "tests/modeler_session.h"

using host::chooseItem;
using host::clickCell;
using host::pressCancel;
using host::pressOk;

namespace {

class SetMuscle : public ModelerSession {
protected:
    // Primary layer in scan order: Upper (selected), Lower, a selected face, Hand
    // (selected); a second layer holds a selected skelegon Other.
    void SetUp() override {
        ModelerSession::SetUp();
        upper = modeler.object.addSkelegon(0, "Upper", true);
        lower = modeler.object.addSkelegon(0, "Lower", false);
        LWPntID a = modeler.object.addPoint(0, 0, 0, 0), b = modeler.object.addPoint(0, 1, 0, 0),
                c = modeler.object.addPoint(0, 0, 1, 0);
        face = modeler.object.addPolygon(0, host::kFacePolygon, {a, b, c}, true);
        hand = modeler.object.addSkelegon(0, "Hand", true);
        other = modeler.object.addSkelegon(1, "Other", true);
    }

    LWPolID upper, lower, face, hand, other;
};

TEST_F(SetMuscle, AcceptsOnlyVersionThreeAndOtherwiseDoesNothing) {
    for (int version : {0, 1, 2, 4, -1}) {
        EXPECT_EQ(runSetMuscle(version), AFUNC_BADVERSION) << version;
    }
    EXPECT_TRUE(modeler.calls.empty());
    EXPECT_TRUE(modeler.services.lookups.empty());
    EXPECT_TRUE(modeler.panels.log.empty());
}

TEST_F(SetMuscle, EditThatCannotBeginGivesBadGlobalAndNoPanel) {
    modeler.failEditBegin = true;
    EXPECT_EQ(runSetMuscle(), AFUNC_BADGLOBAL);
    ASSERT_EQ(modeler.calls.size(), 1u);
    EXPECT_EQ(modeler.calls[0].function, "editBegin");
    EXPECT_EQ(modeler.calls[0].args, (std::vector<int>{0, 0, OPSEL_USER}));
    EXPECT_TRUE(modeler.services.lookups.empty());
    EXPECT_TRUE(modeler.panels.log.empty());
}

TEST_F(SetMuscle, DefaultRowsGetColourAndFlagsTwoInRowOrder) {
    modeler.panels.queue(pressOk());
    EXPECT_EQ(runSetMuscle(), AFUNC_OK);
    EXPECT_EQ(polTagTexts(), (std::vector<std::string>{"Upper COLR DkRed", "Upper MFLG 2", "Hand COLR DkRed",
                                                       "Hand MFLG 2"}));
    EXPECT_EQ(tag(upper, MFLG), "2");
    EXPECT_EQ(tag(hand, COLR), "DkRed");
    EXPECT_EQ(tag(upper, MTIP), std::nullopt);
    for (LWPolID untouched : {lower, face, other}) {
        EXPECT_EQ(tag(untouched, COLR), std::nullopt);
        EXPECT_EQ(tag(untouched, MFLG), std::nullopt);
    }
    expectEndedOnce();
    auto scans = modeler.callsTo("polyScan");
    ASSERT_EQ(scans.size(), 1u);
    EXPECT_EQ(scans[0].args, (std::vector<int>{OPLYR_PRIMARY}));
}

TEST_F(SetMuscle, FlagsAreAfterIKTimesTwoPlusPreserveVolume) {
    LWPolID third = modeler.object.addSkelegon(0, "Finger", true);
    modeler.panels.queue(pressOk({clickCell(0, kPreserveVolumeX), clickCell(0, kAfterIKX),  // Upper "1"
                                  clickCell(1, kAfterIKX),                                  // Hand "0"
                                  clickCell(2, kPreserveVolumeX)}));                        // Finger "3"
    EXPECT_EQ(runSetMuscle(), AFUNC_OK);
    EXPECT_EQ(tag(upper, MFLG), "1");
    EXPECT_EQ(tag(hand, MFLG), "0");
    EXPECT_EQ(tag(third, MFLG), "3");
    for (LWPolID row : {upper, hand, third}) EXPECT_EQ(tag(row, COLR), "DkRed");
    expectEndedOnce();
}

TEST_F(SetMuscle, TipHoldsTheReferencesPartTextOwnSkelegonIncluded) {
    // Choices in scan order: Upper 0, Lower 1, Hand 2.
    modeler.panels.queue(pressOk({clickCell(0, kReferenceX), clickCell(1, kReferenceX)}));
    modeler.panels.queue(pressOk({chooseItem(1)}));
    modeler.panels.queue(pressOk({chooseItem(2)}));
    EXPECT_EQ(runSetMuscle(), AFUNC_OK);
    EXPECT_EQ(polTagTexts(), (std::vector<std::string>{"Upper COLR DkRed", "Upper MTIP Lower", "Upper MFLG 2",
                                                       "Hand COLR DkRed", "Hand MTIP Hand", "Hand MFLG 2"}));
    EXPECT_EQ(tag(upper, MTIP), "Lower");
    EXPECT_EQ(tag(hand, MTIP), "Hand");
    expectEndedOnce();
}

TEST_F(SetMuscle, RowWithoutReferenceKeepsAnEarlierTipAndRewritesTheRest) {
    modeler.object.polygon(upper)->tags[MTIP] = "Lower";
    modeler.object.polygon(upper)->tags[MFLG] = "3";
    modeler.object.polygon(upper)->tags[COLR] = "Blue";
    modeler.panels.queue(pressOk());
    EXPECT_EQ(runSetMuscle(), AFUNC_OK);
    EXPECT_EQ(tag(upper, MTIP), "Lower");
    EXPECT_EQ(tag(upper, MFLG), "2");
    EXPECT_EQ(tag(upper, COLR), "DkRed");
}

TEST_F(SetMuscle, CancelAfterEditsWritesNothing) {
    modeler.object.polygon(hand)->tags[MFLG] = "1";
    modeler.panels.queue(pressCancel({clickCell(0, kReferenceX), clickCell(0, kPreserveVolumeX),
                                      clickCell(1, kAfterIKX)}));
    modeler.panels.queue(pressOk({chooseItem(0)}));
    EXPECT_EQ(runSetMuscle(), AFUNC_OK);
    EXPECT_TRUE(modeler.callsTo("polTag").empty());
    EXPECT_EQ(tag(upper, MTIP), std::nullopt);
    EXPECT_EQ(tag(upper, MFLG), std::nullopt);
    EXPECT_EQ(tag(hand, MFLG), "1");
    expectEndedOnce();
}

TEST_F(SetMuscle, MissingPanelServiceIsACancel) {
    modeler.services.remove("LWPanelServices");
    EXPECT_EQ(runSetMuscle(), AFUNC_OK);
    EXPECT_EQ(modeler.services.lookups, (std::vector<std::string>{"LWPanelServices"}));
    EXPECT_TRUE(modeler.callsTo("polTag").empty());
    expectEndedOnce();
}

TEST_F(SetMuscle, PanelThatCannotBeCreatedOrHoldNoListIsACancel) {
    modeler.panels.createsBeforeFailure = 0;
    EXPECT_EQ(runSetMuscle(), AFUNC_OK);
    EXPECT_TRUE(modeler.panels.panels.empty());
    EXPECT_TRUE(modeler.callsTo("polTag").empty());
    expectEndedOnce();

    host::Modeler second;
    second.object.addSkelegon(0, "Upper", true);
    second.panels.refusedKinds.insert("MultiListBoxControl");
    EXPECT_EQ(module->activate("CommandSequence", "SetMuscle", 3, host::Services::global(), &second.command), AFUNC_OK);
    EXPECT_EQ(second.panels.log, (std::vector<std::string>{"1: create \"SetMuscle\"",
                                                           "1: addControl \"MultiListBoxControl\" \"\" refused",
                                                           "1: destroy"}));
    EXPECT_TRUE(second.callsTo("polTag").empty());
    EXPECT_EQ(second.callsTo("done").size(), 1u);
}

TEST_F(SetMuscle, NoSelectedSkelegonMeansAnEmptyPanelAndNoWrites) {
    modeler.object.polygon(upper)->selected = false;
    modeler.object.polygon(hand)->selected = false;
    modeler.panels.queue(pressOk());
    EXPECT_EQ(runSetMuscle(), AFUNC_OK);
    ASSERT_TRUE(assignmentList());
    EXPECT_TRUE(assignmentList()->view().cells.empty());
    EXPECT_TRUE(modeler.callsTo("polTag").empty());
    expectEndedOnce();
}

TEST_F(SetMuscle, RowsAreSelectedSkelegonsAndChoicesAllSkelegonsOfThePrimaryLayer) {
    modeler.panels.queue(pressOk({clickCell(0, kReferenceX)}));
    modeler.panels.queue(pressCancel());
    EXPECT_EQ(runSetMuscle(), AFUNC_OK);
    ASSERT_TRUE(assignmentList());
    const auto& rows = assignmentList()->view().cells;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0], "Upper");
    EXPECT_EQ(rows[1][0], "Hand");
    ASSERT_EQ(modeler.panels.panels.size(), 2u);
    auto* chooser = dynamic_cast<host::PopupControl*>(modeler.panels.panels[1]->controls.at(0).get());
    ASSERT_TRUE(chooser);
    EXPECT_EQ(chooser->items, (std::vector<std::string>{"Upper", "Lower", "Hand"}));
}

TEST_F(SetMuscle, NamelessSkelegonsShowEmptyAndKeepTheirChoicePosition) {
    LWPolID nameless = modeler.object.addSkelegon(0, nullptr, true);  // choice 3, row 2
    modeler.object.addSkelegon(0, "Tail", false);                      // choice 4
    modeler.panels.queue(pressOk({clickCell(0, kReferenceX), clickCell(2, kReferenceX)}));
    modeler.panels.queue(pressOk({chooseItem(3)}));
    modeler.panels.queue(pressOk({chooseItem(4)}));
    EXPECT_EQ(runSetMuscle(), AFUNC_OK);
    auto* chooser = dynamic_cast<host::PopupControl*>(modeler.panels.panels.at(1)->controls.at(0).get());
    ASSERT_TRUE(chooser);
    EXPECT_EQ(chooser->items, (std::vector<std::string>{"Upper", "Lower", "Hand", "", "Tail"}));
    const auto& rows = assignmentList()->view().cells;
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0][1], "");  // the nameless reference
    EXPECT_EQ(rows[2][0], "");
    EXPECT_EQ(rows[2][1], "Tail");
    // A nameless reference cannot be recorded by name: no MTIP, and never a null text.
    EXPECT_EQ(tag(upper, MTIP), std::nullopt);
    EXPECT_EQ(tag(nameless, MTIP), "Tail");
    EXPECT_EQ(tag(nameless, MFLG), "2");
    for (const host::EditCall& call : modeler.callsTo("polTag")) EXPECT_TRUE(call.text);
}

TEST_F(SetMuscle, ChooserThatCannotBeCreatedClearsTheReference) {
    modeler.panels.createsBeforeFailure = 2;  // the panel and the first chooser
    modeler.panels.queue(pressOk({clickCell(0, kReferenceX), clickCell(0, kReferenceX)}));
    modeler.panels.queue(pressOk({chooseItem(1)}));
    EXPECT_EQ(runSetMuscle(), AFUNC_OK);
    EXPECT_EQ(assignmentList()->view().cells.at(0).at(1), "--");
    EXPECT_EQ(tag(upper, MTIP), std::nullopt);
    expectEndedOnce();
}

TEST_F(SetMuscle, EveryRunStartsFromTheDefaults) {
    modeler.panels.queue(pressOk({clickCell(0, kPreserveVolumeX), clickCell(0, kReferenceX)}));
    modeler.panels.queue(pressOk({chooseItem(1)}));
    EXPECT_EQ(runSetMuscle(), AFUNC_OK);
    EXPECT_EQ(tag(upper, MFLG), "3");
    modeler.panels.queue(pressOk());
    EXPECT_EQ(runSetMuscle(), AFUNC_OK);
    const auto& rows = assignmentList(2)->view().cells;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<std::optional<std::string>>{"Upper", "--", " ", "v"}));
    EXPECT_EQ(tag(upper, MFLG), "2");
    EXPECT_EQ(tag(upper, MTIP), "Lower");
    EXPECT_EQ(modeler.callsTo("done").size(), 2u);
}

}  // namespace
