#include "set_muscle/assignment_panel.h"

#include "abi/host_names.h"
#include "panels/modal_panel.h"
#include "panels/panel_labels.h"
#include "panels/panel_records.h"
#include "set_muscle/reference_chooser.h"

namespace sinewrig {

namespace {

// The columns: name, reference, preserve volume, after IK.
enum Column { kNameColumn, kReferenceColumn, kPreserveVolumeColumn, kAfterIKColumn, kColumns };
constexpr int kColumnWidths[kColumns] = {120, 120, 60, 60};
constexpr int kListWidth = kColumnWidths[0] + kColumnWidths[1] + kColumnWidths[2] + kColumnWidths[3];

const char* const kColumnTitles[kColumns] = {
    "\x96\xbc\x91\x4f" /* 名前 */,
    kReferenceLabel,
    kPreserveVolumeLabel,
    "AfterIK",
};

// The column a click falls in, x counted from the list's left edge. The first
// column keeps its right edge; a click right of the last column counts as in it.
int columnAt(int x) {
    if (x <= kColumnWidths[0]) return kNameColumn;
    int right = 0;
    for (int column = 0; column < kColumns; ++column) {
        right += kColumnWidths[column];
        if (x < right) return column;
    }
    return kColumns - 1;
}

// The host shows the texts at once, so pointers to literals and to the
// host's own PART texts stay valid for as long as it needs them.
char* hostText(const char* text) { return const_cast<char*>(text ? text : ""); }

const char* checkMark(bool on) { return on ? "v" : " "; }

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
        case kNameColumn: return hostText(skelegonName(*assignment->edit, cells.skelegon));
        case kReferenceColumn: return hostText(cells.reference ? skelegonName(*assignment->edit, cells.reference) : "--");
        case kPreserveVolumeColumn: return hostText(checkMark(cells.preserveVolume));
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
    switch (columnAt(x)) {
        case kNameColumn: return;
        case kReferenceColumn: clicked.reference = chooseReference(*assignment, assignment->global); break;
        case kPreserveVolumeColumn: clicked.preserveVolume = !clicked.preserveVolume; break;
        default: clicked.afterIK = !clicked.afterIK; break;
    }
    control->draw(control, DR_REFRESH);
}

bool runAssignmentPanel(MuscleAssignment& assignment, GlobalFunc* global) {
    LWPanelFuncs* panels = findPanelServices(global);
    if (!panels) return false;
    ModalPanel panel(*panels, kSetMuscleServer);
    if (!panel) return false;

    LWPanControlDesc desc = controlDesc(LWT_MLIST);
    desc.multiList.width = kListWidth;
    desc.multiList.visItems = 8;
    desc.multiList.top = 0;
    desc.multiList.countFn = rowCount;
    desc.multiList.nameFn = cellText;
    desc.multiList.colWidth = columnWidth;
    LWControl* list = panel.add("MultiListBoxControl", desc, "");
    // Without its list the panel could set nothing, so it counts as not available.
    if (!list) return false;
    setControlPointer(list, CTL_USERDATA, &assignment);
    setControlPointer(list, CTL_USEREVENT, reinterpret_cast<void*>(&onListClick));
    return panel.open();
}

}  // namespace sinewrig
