#include "panels/assignment_panel.h"

#include "abi/host_names.h"
#include "panels/panel_records.h"
#include "panels/reference_chooser.h"

namespace sinewrig {

namespace {

constexpr int kColumnWidths[] = {120, 120, 60, 60};
constexpr int kColumns = 4;

const char* const kColumnTitles[kColumns] = {
    "\x96\xbc\x91\x4f" /* 名前 */,
    "\x8e\x51\x8f\xc6" /* 参照 */,
    "\x91\xcc\x90\xcf\x82\xf0\x95\xdb\x8e\x9d" /* 体積を保持 */,
    "AfterIK",
};

// The host shows the texts at once, so pointers to literals and to the
// host's own PART texts stay valid for as long as it needs them.
char* hostText(const char* text) { return const_cast<char*>(text ? text : ""); }

const char* checkMark(int on) { return on ? "v" : " "; }

}  // namespace

int rowCount(void* data) {
    auto* assignment = static_cast<MuscleAssignment*>(data);
    return assignment ? static_cast<int>(assignment->rows.size()) : 0;
}

char* cellText(void* data, int row, int column) {
    auto* assignment = static_cast<MuscleAssignment*>(data);
    if (!assignment || column < 0 || column >= kColumns) return nullptr;
    if (row == -1) return hostText(kColumnTitles[column]);
    if (row < 0 || row >= rowCount(assignment) || !assignment->edit) return nullptr;
    const MuscleRow& cells = assignment->rows[row];
    switch (column) {
        case 0: return hostText(skelegonName(*assignment->edit, cells.skelegon));
        case 1: return hostText(cells.reference ? skelegonName(*assignment->edit, cells.reference) : "--");
        case 2: return hostText(checkMark(cells.preserveVolume));
        default: return hostText(checkMark(cells.afterIK));
    }
}

int columnWidth(void*, int column) { return column >= 0 && column < kColumns ? kColumnWidths[column] : 0; }

void onListClick(LWControlID id, void* data) {
    auto* control = static_cast<LWControl*>(id);
    if (!control) return;
    int x = controlInt(control, CTL_MOUSEX);
    auto* assignment = static_cast<MuscleAssignment*>(data);
    if (!assignment) return;
    int row = controlInt(control, CTL_VALUE);
    // A row the list does not have would index past the rows.
    if (row < 0 || row >= rowCount(assignment)) return;
    MuscleRow& clicked = assignment->rows[row];
    if (x <= 120) return;
    if (x < 240)
        clicked.reference = chooseReference(*assignment, assignment->global);
    else if (x < 300)
        clicked.preserveVolume = !clicked.preserveVolume;
    else
        clicked.afterIK = !clicked.afterIK;
    control->draw(control, DR_REFRESH);
}

bool runAssignmentPanel(MuscleAssignment& assignment, GlobalFunc* global) {
    LWPanelFuncs* panels = findPanelServices(global);
    if (!panels) return false;
    LWPanelID panel = panels->create(const_cast<char*>(kSetMuscleServer), nullptr);
    if (!panel) return false;

    LWPanControlDesc& desc = freshControlDesc(LWT_MLIST);
    desc.multiList.width = 360;
    desc.multiList.visItems = 8;
    desc.multiList.top = 0;
    desc.multiList.countFn = rowCount;
    desc.multiList.nameFn = cellText;
    desc.multiList.colWidth = columnWidth;
    LWControl* list = panels->addControl(panel, const_cast<char*>("MultiListBoxControl"), &desc, const_cast<char*>(""));
    // Without its list the panel could set nothing, so it counts as not available.
    if (!list) {
        panels->destroy(panel);
        return false;
    }
    setControlPointer(list, CTL_USERDATA, &assignment);
    setControlPointer(list, CTL_USEREVENT, reinterpret_cast<void*>(&onListClick));

    int confirmed = panels->open(panel, PANF_BLOCKING | PANF_CANCEL | PANF_FRAME);
    panels->destroy(panel);
    return confirmed != 0;
}

}  // namespace sinewrig
