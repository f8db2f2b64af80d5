// The stand-in Modeler itself, which the SetMuscle tests rely on to judge the
// module: when mesh edits take effect, what a scan reports, how panels play scripts.
#include <gtest/gtest.h>

#include <vector>

#include "host/modeler/modeler.h"

namespace {

constexpr LWID MFLG = LWID_('M', 'F', 'L', 'G');

struct Seen {
    std::vector<EDPolygonInfo> polygons;
    int stopAt = -1;
};

EDError remember(void* data, const EDPolygonInfo* polygon) {
    auto* seen = static_cast<Seen*>(data);
    seen->polygons.push_back(*polygon);
    return static_cast<int>(seen->polygons.size()) - 1 == seen->stopAt ? 7 : EDERR_NONE;
}

TEST(StandInMeshEdit, TagWritesTakeEffectOnlyWhenDoneCommits) {
    host::Modeler modeler;
    LWPolID bone = modeler.object.addSkelegon(0, "Upper", true);
    MeshEditOp* edit = modeler.command.editBegin(0, 0, OPSEL_USER);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->polTag(edit->state, bone, MFLG, "2"), EDERR_NONE);
    EXPECT_EQ(edit->polyTag(edit->state, bone, MFLG), nullptr);
    EXPECT_STREQ(edit->polyTag(edit->state, bone, LWPTAG_PART), "Upper");
    EXPECT_NE(edit->polTag(edit->state, bone, MFLG, nullptr), EDERR_NONE);
    edit->done(edit->state, EDERR_NONE, 0);
    EXPECT_STREQ(modeler.object.tag(bone, MFLG), "2");
    // Once ended, an edit changes nothing more.
    EXPECT_NE(edit->polTag(edit->state, bone, MFLG, "3"), EDERR_NONE);
    edit->done(edit->state, EDERR_NONE, 0);
    EXPECT_STREQ(modeler.object.tag(bone, MFLG), "2");
    EXPECT_EQ(modeler.callsTo("done").size(), 2u);

    MeshEditOp* failed = modeler.command.editBegin(0, 0, OPSEL_USER);
    failed->polTag(failed->state, bone, MFLG, "0");
    failed->done(failed->state, 4, 0);
    EXPECT_STREQ(modeler.object.tag(bone, MFLG), "2") << "an edit ended with an error was kept";

    modeler.failEditBegin = true;
    EXPECT_EQ(modeler.command.editBegin(0, 0, OPSEL_USER), nullptr);
}

TEST(StandInMeshEdit, ScanReportsThePrimaryLayerInOrderAndStopsOnAnError) {
    host::Modeler modeler;
    modeler.object.addSkelegon(0, "Elsewhere", true);
    modeler.object.primaryLayer = 1;
    LWPolID first = modeler.object.addSkelegon(1, "Upper", false);
    LWPntID a = modeler.object.addPoint(1, 0, 0, 0), b = modeler.object.addPoint(1, 1, 0, 0),
            c = modeler.object.addPoint(1, 0, 1, 0);
    LWPolID face = modeler.object.addPolygon(1, host::kFacePolygon, {a, b, c}, true);
    modeler.object.addSkelegon(1, "Hand", true);
    MeshEditOp* edit = modeler.command.editBegin(0, 0, OPSEL_USER);
    EXPECT_EQ(edit->layerNum, 2);

    Seen seen;
    EXPECT_EQ(edit->polyScan(edit->state, remember, &seen, OPLYR_PRIMARY), EDERR_NONE);
    ASSERT_EQ(seen.polygons.size(), 3u);
    EXPECT_EQ(seen.polygons[0].pol, first);
    EXPECT_EQ(seen.polygons[0].type, LWPOLTYPE_BONE);
    EXPECT_EQ(seen.polygons[0].flags & EDDF_SELECT, 0);
    EXPECT_EQ(seen.polygons[0].numPnts, 2);
    EXPECT_EQ(seen.polygons[0].layer, 2);
    EXPECT_EQ(seen.polygons[1].pol, face);
    EXPECT_EQ(seen.polygons[1].type, host::kFacePolygon);
    EXPECT_EQ(seen.polygons[1].flags & EDDF_SELECT, EDDF_SELECT);
    EXPECT_EQ(seen.polygons[1].points[2], c);

    Seen stopped;
    stopped.stopAt = 1;
    EXPECT_EQ(edit->polyScan(edit->state, remember, &stopped, OPLYR_PRIMARY), 7);
    EXPECT_EQ(stopped.polygons.size(), 2u);
    edit->done(edit->state, EDERR_NONE, 0);
}

int openedFromEvent = -1;
void openChooser(LWControlID, void* data) {
    auto* panels = static_cast<LWPanelFuncs*>(data);
    LWPanelID inner = panels->create(const_cast<char*>("Inner"), nullptr);
    openedFromEvent = panels->open(inner, 7);
    panels->destroy(inner);
}
char* noText(void*, int, int) { return nullptr; }
int oneColumn(void*, int column) { return column == 0 ? 50 : 0; }
int noRows(void*) { return 0; }

TEST(StandInPanels, NestedOpensTakeTheNextScriptAndUnscriptedOpensCancel) {
    host::Modeler modeler;
    LWPanelFuncs* panels = modeler.panels.record();
    LWPanelID outer = panels->create(const_cast<char*>("Outer"), nullptr);
    LWPanControlDesc desc{};
    desc.multiList = {LWT_MLIST, 50, 8, 0, noRows, noText, oneColumn};
    LWControl* list = panels->addControl(outer, const_cast<char*>("MultiListBoxControl"), &desc, const_cast<char*>(""));
    ASSERT_TRUE(list);
    EXPECT_EQ(panels->addControl(outer, const_cast<char*>("NoSuchControl"), &desc, const_cast<char*>("")), nullptr);
    LWValue value{};
    value.ptr.ptr = panels;
    list->set(list, CTL_USERDATA, &value);
    value.ptr.ptr = reinterpret_cast<void*>(&openChooser);
    list->set(list, CTL_USEREVENT, &value);

    modeler.panels.queue(host::pressCancel({host::clickCell(3, 99)}));
    modeler.panels.queue(host::pressOk());
    EXPECT_EQ(panels->open(outer, 7), 0);
    EXPECT_EQ(openedFromEvent, 1);
    list->get(list, CTL_VALUE, &value);
    EXPECT_EQ(value.intv.value, 3);
    list->get(list, CTL_MOUSEX, &value);
    EXPECT_EQ(value.intv.value, 99);
    EXPECT_TRUE(modeler.panels.problems.empty());

    EXPECT_EQ(panels->open(outer, 7), 0);
    EXPECT_EQ(modeler.panels.problems, (std::vector<std::string>{"1: opened without a script"}));
    panels->destroy(outer);
    EXPECT_EQ(host::renderTable(dynamic_cast<host::MultiListControl&>(*modeler.panels.panels[0]->controls[0]).view()),
              "|       |\n");
}

}  // namespace
