#include "set_muscle/reference_chooser.h"

#include <new>
#include <vector>

#include "abi/host_names.h"
#include "panels/modal_panel.h"
#include "panels/panel_records.h"

namespace sinewrig {

namespace {

// One entry per skelegon and a null end. A nameless skelegon is offered as ""
// rather than a null that would end the host's list early and shift the rest.
bool buildChoices(const MuscleAssignment& assignment, std::vector<const char*>& items) {
    if (!items.empty()) return true;
    try {
        items.reserve(assignment.skelegons.size() + 1);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (LWPolID skelegon : assignment.skelegons) {
        const char* name = skelegonName(*assignment.edit, skelegon);
        items.push_back(name ? name : "");
    }
    items.push_back(nullptr);
    return true;
}

}  // namespace

LWPolID chooseReference(MuscleAssignment& assignment, GlobalFunc* global) {
    LWPanelFuncs* panels = findPanelServices(global);
    if (!panels || !assignment.edit) return nullptr;
    std::vector<const char*>& items = assignment.choices;
    if (!buildChoices(assignment, items)) return nullptr;
    ModalPanel panel(*panels, kSetMuscleServer);
    if (!panel) return nullptr;

    LWPanControlDesc desc = controlDesc(LWT_CHOICE);
    desc.choice.items = items.data();
    desc.choice.vertical = 0;
    LWControl* popup = panel.add("PopupControl", desc, "TipParent");
    if (!popup || !panel.open()) return nullptr;
    const int index = controlInt(popup, CTL_VALUE);
    return index >= 0 && static_cast<size_t>(index) < assignment.skelegons.size() ? assignment.skelegons[index]
                                                                                   : nullptr;
}

}  // namespace sinewrig
