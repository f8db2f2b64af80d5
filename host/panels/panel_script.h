// What the artist does in one opened panel, given by a test or tool before
// the panel opens: clicks and choices, then OK or Cancel.
#pragma once

#include <vector>

namespace host {

struct PanelAction {
    enum Kind { ClickCell, ChooseItem } kind;
    int row = 0;    // ClickCell: the row the click selects (-1: none)
    int x = 0;      // ClickCell: from 0 at the left edge of the first column
    int index = 0;  // ChooseItem: popup item, from 0
};

inline PanelAction clickCell(int row, int x) { return PanelAction{PanelAction::ClickCell, row, x, 0}; }
inline PanelAction chooseItem(int index) { return PanelAction{PanelAction::ChooseItem, 0, 0, index}; }

struct OpenScript {
    std::vector<PanelAction> actions;
    bool confirm = false;  // OK when true, Cancel otherwise
};

inline OpenScript pressOk(std::vector<PanelAction> actions = {}) { return OpenScript{std::move(actions), true}; }
inline OpenScript pressCancel(std::vector<PanelAction> actions = {}) { return OpenScript{std::move(actions), false}; }

}  // namespace host
