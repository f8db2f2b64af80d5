// SetMuscle on an object of hundreds of skelegons, each row given a
// reference: the list is read only for the rows it shows, the chooser's items
// are read through the host once per run, and the stand-in keeps a bounded
// record of it all, as a session of thousands of rows needs.
#include <gtest/gtest.h>

#include "host/process/call_log.h"
#include "tests/modeler_session.h"

namespace {

constexpr int kRows = 300;

class LargeAssignment : public ModelerSession {
protected:
    std::vector<LWPolID> rows;

    // Every row reaches for the row at the other end of the list.
    void SetUp() override {
        ModelerSession::SetUp();
        for (int i = 0; i < kRows; ++i) {
            const double pivot[3] = {double(i), 0, 0}, tip[3] = {double(i), 1, 0};
            rows.push_back(modeler.object.addSkelegon(0, ("Row" + std::to_string(i)).c_str(), true, pivot, tip));
        }
        host::OpenScript list = host::pressOk();
        for (int row = 0; row < kRows; ++row) list.actions.push_back(host::clickCell(row, kReferenceX));
        modeler.panels.queue(std::move(list));
        for (int row = 0; row < kRows; ++row) modeler.panels.queue(host::pressOk({host::chooseItem(kRows - 1 - row)}));
    }
};

}  // namespace

TEST(CallLog, KeepsItsFirstCallsAndCountsTheRest) {
    host::CallLog log;
    for (std::size_t i = 0; i < host::CallLog::kMostCalls + 5; ++i) log.record("param", nullptr, int(i % 7));
    EXPECT_EQ(log.calls.size(), host::CallLog::kMostCalls);
    EXPECT_EQ(log.dropped, 5u);
    EXPECT_EQ(log.calls.back().param, int((host::CallLog::kMostCalls - 1) % 7));
    log.clear();
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(log.dropped, 0u);
}

TEST_F(LargeAssignment, EveryRowGetsItsReferenceWithWorkThatGrowsWithTheRows) {
    ASSERT_EQ(runSetMuscle(), AFUNC_OK);
    for (int row = 0; row < kRows; ++row) EXPECT_EQ(tag(rows[row], MTIP), "Row" + std::to_string(kRows - 1 - row)) << row;
    // Each name once for the chooser, and the shown rows on each redraw;
    // reading every name at every opening would be kRows * kRows reads.
    EXPECT_LT(modeler.callsTo("polyTag").size(), 40u * kRows);

    const host::MultiListControl* list = assignmentList();
    ASSERT_TRUE(list);
    EXPECT_LE(list->readings.size(), host::MultiListControl::kReadingsKept);
    const host::ListView& shown = list->view();
    EXPECT_EQ(shown.rows, kRows);
    EXPECT_EQ(shown.cells.size(), 8u);  // the module's visItems
    EXPECT_EQ(shown.top, kRows - 8);    // scrolled to the last row clicked
    EXPECT_EQ(shown.cells.back().at(1), "Row0");
    EXPECT_NE(host::renderTable(shown).find("(rows 293 to 300 of 300 shown)"), std::string::npos);

    // Choosers long closed have let go of their items; the latest keep them, a screenful at most.
    const auto popupItems = [&](std::size_t panel) {
        return dynamic_cast<const host::PopupControl&>(*modeler.panels.panels.at(panel)->controls.at(0)).items.size();
    };
    EXPECT_EQ(popupItems(1), 0u);
    EXPECT_EQ(popupItems(kRows), std::size_t{host::PopupControl::kItemsKept});
}
