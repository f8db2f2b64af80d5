// What the artist does in one opened panel, given by a test or tool before
// the panel opens: clicks and choices, then OK or Cancel.
#pragma once

#include <vector>

#include "abi/lw_host.h"

namespace host {

struct PanelAction {
    enum Kind { ClickCell, ChooseItem, PickItem, SetCheck, EnterFloat, ForceValue } kind;
    int row = 0;              // ClickCell: the row the click selects (-1: none)
    int x = 0;                // ClickCell: from 0 at the left edge of the first column
    int index = 0;            // ChooseItem: popup item, from 0; ForceValue: the value
    LWItemID item = nullptr;  // PickItem: the item chosen in an item list (0: none)
    // SetCheck, EnterFloat, ForceValue: the control, by its number in the panel
    // (from 1); ChooseItem: the same, or 0 for the first control that offers items.
    int control = 0;
    bool on = false;          // SetCheck: ticked or not
    double number = 0.0;      // EnterFloat: the number typed into the field
};

inline PanelAction clickCell(int row, int x) { return PanelAction{PanelAction::ClickCell, row, x}; }
inline PanelAction chooseItem(int index, int control = 0) {
    return PanelAction{PanelAction::ChooseItem, 0, 0, index, nullptr, control};
}
inline PanelAction pickItem(LWItemID item) { return PanelAction{PanelAction::PickItem, 0, 0, 0, item}; }
inline PanelAction setCheck(int control, bool on) {
    return PanelAction{PanelAction::SetCheck, 0, 0, 0, nullptr, control, on};
}

inline PanelAction enterFloat(int control, double number) {
    return PanelAction{PanelAction::EnterFloat, 0, 0, 0, nullptr, control, false, number};
}

// A careless host: the control's integer value becomes `value`, whatever the
// control offers, and the module reads that back.
inline PanelAction forceValue(int control, int value) {
    return PanelAction{PanelAction::ForceValue, 0, 0, value, nullptr, control};
}

struct OpenScript {
    std::vector<PanelAction> actions;
    bool confirm = false;  // OK when true, Cancel otherwise
};

inline OpenScript pressOk(std::vector<PanelAction> actions = {}) { return OpenScript{std::move(actions), true}; }
inline OpenScript pressCancel(std::vector<PanelAction> actions = {}) { return OpenScript{std::move(actions), false}; }

}  // namespace host
