// The controls of the stand-in panels. Each keeps a copy of the descriptor it
// was added with (the module reuses one descriptor) and reads the module's
// contents only through the descriptor, as the host's controls do.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/panels/panel_script.h"
#include "module/lw_host.h"

namespace host {

class PanelServices;
struct Panel;

class Control {
public:
    Control(Panel& panel, int number, std::string kind, const LWPanControlDesc* desc, std::string label);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    LWControl record{};  // handed to the module; priv_data leads back here
    Panel& panel;
    int number;  // from 1 within its panel
    std::string kind;
    std::string label;
    LWPanControlDesc desc{};
    int value = 0;
    double floatValue = 0.0;  // the value of a control that holds a number (LWT_FLOAT)
    int mouseX = 0;
    void* userData = nullptr;
    LWControlEventFunc* event = nullptr;

    std::string name() const;  // "panel.control", as in the log
    // Reads the module's contents afresh: when added, when the panel opens and on a redraw.
    virtual void refresh() {}
    // A script action; false when this control takes no such action.
    bool take(const PanelAction& action);
    virtual bool click(int row, int x);
    virtual bool choose(int index);
    virtual bool pick(LWItemID item);
    virtual bool check(bool on);
    virtual bool enter(double number);
    virtual bool holdsFloat() const { return false; }

    static Control* from(LWControlID id);

protected:
    PanelServices& services() const;
    void fireEvent();

private:
    static void draw(LWControlID id, int mode);
    static void get(LWControlID id, int tag, LWValue* value);
    static void set(LWControlID id, int tag, LWValue* value);
};

// What the multi-column list showed when it last read the module's callbacks.
struct ListView {
    std::vector<int> widths;
    std::vector<std::optional<std::string>> titles;
    std::vector<std::vector<std::optional<std::string>>> cells;  // by row, then column
};

// "MultiListBoxControl": value is the selected row, -1 for none.
class MultiListControl : public Control {
public:
    MultiListControl(Panel& panel, int number, const LWPanControlDesc* desc, std::string label);
    std::vector<ListView> readings;  // every reading, in order; the last is what the list shows
    const ListView& view() const;
    void refresh() override;
    bool click(int row, int x) override;
};

std::string renderTable(const ListView& view);

// "PopupControl": value is the chosen item, from 0; the host's default is the first.
class PopupControl : public Control {
public:
    PopupControl(Panel& panel, int number, const LWPanControlDesc* desc, std::string label);
    std::vector<std::string> items;
    void refresh() override;
    bool choose(int index) override;
};

// "LWListControl": the items of the descriptor's item type; value is the
// chosen item's ID (an int, as the host's 32-bit IDs are), 0 for none.
class ItemListControl : public Control {
public:
    ItemListControl(Panel& panel, int number, const LWPanControlDesc* desc, std::string label);
    std::vector<std::pair<LWItemID, std::string>> items;  // what it offered when last read
    LWItemID item() const;                                // the value as an item ID
    void refresh() override;
    bool pick(LWItemID item) override;
};

// "BoolControl": a check box; value 1 when ticked, 0 otherwise.
class BoolControl : public Control {
public:
    BoolControl(Panel& panel, int number, const LWPanControlDesc* desc, std::string label);
    bool check(bool on) override;
};

// "FloatControl": a number field; its value travels as LWT_FLOAT in flt.value.
class FloatControl : public Control {
public:
    FloatControl(Panel& panel, int number, const LWPanControlDesc* desc, std::string label);
    bool enter(double number) override;
    bool holdsFloat() const override { return true; }
};

// Null for a kind the stand-in does not serve.
std::unique_ptr<Control> makeControl(Panel& panel, int number, const std::string& kind,
                                     const LWPanControlDesc* desc, const std::string& label);

}  // namespace host
