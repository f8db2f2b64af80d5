// The controls of the stand-in panels. Each keeps a copy of the descriptor it
// was added with (the module reuses one descriptor) and reads the module's
// contents only through the descriptor, as the host's controls do.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/panels/panel_script.h"
#include "abi/lw_host.h"

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
    // Frees what it read from the module, once its panel is long gone.
    virtual void release() {}
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
// Like the host's list, it asks only for the rows it shows.
struct ListView {
    std::vector<int> widths;
    std::vector<std::optional<std::string>> titles;
    int rows = 0;  // the module's row count
    int top = 0;   // the first row shown
    std::vector<std::vector<std::optional<std::string>>> cells;  // the rows shown, from `top`, then by column
    // What the callbacks give just outside the table, as a careless host would
    // ask: the cells (-1, columns), (0, columns), (0, -1), (rows, 0) and (-2, 0),
    // and the width of column -1.
    std::vector<std::optional<std::string>> outside;
    int widthBeforeFirst = 0;
};

// "MultiListBoxControl": value is the selected row, -1 for none. A click
// scrolls its row into view, as the artist does before clicking it.
class MultiListControl : public Control {
public:
    static constexpr std::size_t kReadingsKept = 32;

    MultiListControl(Panel& panel, int number, const LWPanControlDesc* desc, std::string label);
    // The latest readings, in order (at most kReadingsKept); the last is what the list shows.
    std::deque<ListView> readings;
    int top = 0;
    const ListView& view() const;
    void refresh() override;
    void release() override { readings.clear(); }
    bool click(int row, int x) override;
};

std::string renderTable(const ListView& view);

// "PopupControl": value is the chosen item, from 0; the host's default is the
// first. It keeps the texts of its first kItemsKept items, as many as a popup
// shows, and reads further only as far as a choice: a rig's thousands of
// openings do not each read thousands of texts.
class PopupControl : public Control {
public:
    static constexpr int kItemsKept = 256;

    PopupControl(Panel& panel, int number, const LWPanControlDesc* desc, std::string label);
    std::vector<std::string> items;  // the first kItemsKept
    void refresh() override;
    void release() override { items = {}; }
    bool choose(int index) override;
};

// "LWListControl": the items of the descriptor's item type; value is the
// chosen item's ID (an int, as the host's 32-bit IDs are), 0 for none. Like
// the popup it keeps only the first kItemsKept items it offers, and asks the
// scene about a pick: a rig's thousands of openings, each offering its
// thousands of bones, would otherwise cost the square of the bones.
class ItemListControl : public Control {
public:
    static constexpr std::size_t kItemsKept = 256;

    ItemListControl(Panel& panel, int number, const LWPanControlDesc* desc, std::string label);
    std::vector<std::pair<LWItemID, std::string>> items;  // the first kItemsKept it offered when last read
    LWItemID item() const;                                // the value as an item ID
    void refresh() override;
    void release() override { items = {}; }
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
