#include "host/panels/panel_controls.h"

#include <utility>

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "host/panels/panels.h"
#include "abi/item_number.h"
#include "host/text/text_format.h"

namespace host {

namespace {

// Every digit a double holds: the log tells apart any two numbers a panel got.
constexpr int kAllDigits = 17;
// Guards against a module whose lists never end.
constexpr int kMostColumns = 64;
constexpr int kMostItems = 100000;
// The rows a list shows when the module does not say.
constexpr int kRowsShownByDefault = 8;

std::string tagName(int tag) {
    switch (tag) {
        case CTL_VALUE: return "CTL_VALUE";
        case CTL_MOUSEX: return "CTL_MOUSEX";
        case CTL_USEREVENT: return "CTL_USEREVENT";
        case CTL_USERDATA: return "CTL_USERDATA";
        default: return "tag " + std::to_string(tag);
    }
}

std::optional<std::string> moduleText(const char* text) {
    return text ? std::optional<std::string>(text) : std::nullopt;
}

}  // namespace

Control::Control(Panel& owner, int controlNumber, std::string controlKind, const LWPanControlDesc* given,
                 std::string controlLabel)
    : panel(owner), number(controlNumber), kind(std::move(controlKind)), label(std::move(controlLabel)) {
    if (given) desc = *given;
    record.draw = draw;
    record.get = get;
    record.set = set;
    record.priv_data = this;
}

std::string Control::name() const { return std::to_string(panel.number) + "." + std::to_string(number); }

bool Control::take(const PanelAction& action) {
    switch (action.kind) {
        case PanelAction::ClickCell: return click(action.row, action.x);
        case PanelAction::ChooseItem: return (action.control == 0 || action.control == number) && choose(action.index);
        case PanelAction::PickItem: return pick(action.item);
        case PanelAction::SetCheck: return action.control == number && check(action.on);
        case PanelAction::EnterFloat: return action.control == number && enter(action.number);
        case PanelAction::ForceValue:
            if (action.control != number) return false;
            services().note(name() + "> forced value " + std::to_string(action.index));
            value = action.index;
            return true;
    }
    return false;
}

bool Control::click(int, int) { return false; }
bool Control::choose(int) { return false; }
bool Control::pick(LWItemID) { return false; }
bool Control::check(bool) { return false; }
bool Control::enter(double) { return false; }

Control* Control::from(LWControlID id) {
    return id ? static_cast<Control*>(static_cast<LWControl*>(id)->priv_data) : nullptr;
}

PanelServices& Control::services() const { return panel.services; }

void Control::fireEvent() {
    if (event) event(&record, userData);
}

void Control::draw(LWControlID id, int mode) {
    Control* control = from(id);
    if (!control) return;
    control->services().note(control->name() + ": draw " + std::to_string(mode));
    if (control->panel.destroyed) control->services().problem(control->name() + ": draw after destroy");
    if (mode == DR_REFRESH) control->refresh();
}

void Control::get(LWControlID id, int tag, LWValue* value) {
    Control* control = from(id);
    if (!control) return;
    std::string line = control->name() + ": get " + tagName(tag);
    if (control->panel.destroyed) control->services().problem(control->name() + ": get after destroy");
    if (!value) {
        control->services().note(line);
        control->services().problem(line + " without a value record");
        return;
    }
    if (tag == CTL_VALUE && control->holdsFloat()) {
        if (value->type != LWT_FLOAT) control->services().problem(line + " in a value record of type " + std::to_string(value->type));
        value->flt.value = control->floatValue;
        control->services().note(line + " = " + numberText(value->flt.value, kAllDigits));
        return;
    }
    switch (tag) {
        case CTL_VALUE: value->intv.value = control->value; break;
        case CTL_MOUSEX: value->intv.value = control->mouseX; break;
        case CTL_USERDATA: value->ptr.ptr = control->userData; break;
        case CTL_USEREVENT: value->ptr.ptr = reinterpret_cast<void*>(control->event); break;
        default: break;
    }
    if (tag == CTL_VALUE || tag == CTL_MOUSEX) line += " = " + std::to_string(value->intv.value);
    control->services().note(line);
}

void Control::set(LWControlID id, int tag, LWValue* value) {
    Control* control = from(id);
    if (!control) return;
    std::string line = control->name() + ": set " + tagName(tag);
    if (control->panel.destroyed) control->services().problem(control->name() + ": set after destroy");
    if (!value) {
        control->services().note(line);
        control->services().problem(line + " without a value record");
        return;
    }
    if (tag == CTL_VALUE && control->holdsFloat()) {
        if (value->type != LWT_FLOAT) control->services().problem(line + " in a value record of type " + std::to_string(value->type));
        control->floatValue = value->flt.value;
        control->services().note(line + " " + numberText(value->flt.value, kAllDigits));
        return;
    }
    switch (tag) {
        case CTL_VALUE: control->value = value->intv.value; line += " " + std::to_string(value->intv.value); break;
        case CTL_USERDATA: control->userData = value->ptr.ptr; break;
        case CTL_USEREVENT: control->event = reinterpret_cast<LWControlEventFunc*>(value->ptr.ptr); break;
        default: break;
    }
    control->services().note(line);
}

MultiListControl::MultiListControl(Panel& owner, int controlNumber, const LWPanControlDesc* given,
                                   std::string controlLabel)
    : Control(owner, controlNumber, "MultiListBoxControl", given, std::move(controlLabel)) {
    value = -1;
}

void MultiListControl::refresh() {
    const auto& list = desc.multiList;
    ListView view;
    if (list.colWidth)
        for (int column = 0; column < kMostColumns; ++column) {
            int width = list.colWidth(userData, column);
            if (width == 0) break;
            view.widths.push_back(width);
        }
    int columns = static_cast<int>(view.widths.size());
    if (list.nameFn)
        for (int column = 0; column < columns; ++column) view.titles.push_back(moduleText(list.nameFn(userData, -1, column)));
    view.rows = list.countFn ? std::max(0, list.countFn(userData)) : 0;
    const int shown = list.visItems > 0 ? list.visItems : kRowsShownByDefault;
    top = std::max(0, std::min(top, view.rows - shown));
    view.top = top;
    for (int row = top; row < view.rows && row < top + shown; ++row) {
        view.cells.emplace_back();
        for (int column = 0; column < columns && list.nameFn; ++column)
            view.cells.back().push_back(moduleText(list.nameFn(userData, row, column)));
    }
    if (list.nameFn)
        for (auto [row, column] : {std::pair{-1, columns}, {0, columns}, {0, -1}, {view.rows, 0}, {-2, 0}})
            view.outside.push_back(moduleText(list.nameFn(userData, row, column)));
    if (list.colWidth) view.widthBeforeFirst = list.colWidth(userData, -1);
    readings.push_back(std::move(view));
    if (readings.size() > kReadingsKept) readings.pop_front();
}

const ListView& MultiListControl::view() const {
    static const ListView unread;
    return readings.empty() ? unread : readings.back();
}

bool MultiListControl::click(int row, int x) {
    const int shown = desc.multiList.visItems > 0 ? desc.multiList.visItems : kRowsShownByDefault;
    if (row < top) top = std::max(0, row);
    if (row >= top + shown) top = row - shown + 1;
    value = row;
    mouseX = x;
    services().note(name() + "> click row " + std::to_string(row) + " x " + std::to_string(x));
    fireEvent();
    return true;
}

std::string renderTable(const ListView& view) {
    // One text column per ten pixels of width, at least as wide as its texts.
    std::vector<size_t> widths;
    for (size_t column = 0; column < view.widths.size(); ++column) {
        size_t width = static_cast<size_t>(std::max(1, view.widths[column] / 10));
        if (column < view.titles.size() && view.titles[column]) width = std::max(width, view.titles[column]->size());
        for (const auto& row : view.cells)
            if (column < row.size() && row[column]) width = std::max(width, row[column]->size());
        widths.push_back(width);
    }
    auto line = [&](const std::vector<std::optional<std::string>>& texts) {
        std::string out = "|";
        for (size_t column = 0; column < widths.size(); ++column) {
            std::string text = column < texts.size() && texts[column] ? *texts[column] : "";
            out += " " + text + std::string(widths[column] - std::min(widths[column], text.size()), ' ') + " |";
        }
        return out + "\n";
    };
    std::string table = line(view.titles);
    for (const auto& row : view.cells) table += line(row);
    if (static_cast<int>(view.cells.size()) < view.rows)
        table += "(rows " + std::to_string(view.top + 1) + " to " + std::to_string(view.top + view.cells.size()) +
                 " of " + std::to_string(view.rows) + " shown)\n";
    return table;
}

PopupControl::PopupControl(Panel& owner, int controlNumber, const LWPanControlDesc* given, std::string controlLabel)
    : Control(owner, controlNumber, "PopupControl", given, std::move(controlLabel)) {}

void PopupControl::refresh() {
    items.clear();
    const char** list = desc.choice.items;
    for (int index = 0; list && list[index] && index < kItemsKept; ++index) items.push_back(list[index]);
}

bool PopupControl::choose(int index) {
    services().note(name() + "> choose " + std::to_string(index));
    // Items past the kept ones are read only as far as the choice: the list
    // is the module's, alive while its panel is open.
    const char** list = desc.choice.items;
    bool offered = index >= 0 && index < static_cast<int>(items.size());
    if (index >= kItemsKept && list) {
        offered = true;
        for (int at = kItemsKept; offered && at <= index; ++at) {
            if (at == kMostItems) {
                services().problem(name() + ": popup items without a null end");
                offered = false;
            } else {
                offered = list[at] != nullptr;
            }
        }
    }
    if (!offered) {
        services().problem(name() + ": no item " + std::to_string(index) + " to choose");
        return true;
    }
    value = index;
    fireEvent();
    return true;
}

ItemListControl::ItemListControl(Panel& owner, int controlNumber, const LWPanControlDesc* given,
                                 std::string controlLabel)
    : Control(owner, controlNumber, "LWListControl", given, std::move(controlLabel)) {
    if (desc.type != LWT_LWITEM) services().problem(name() + ": LWListControl with descriptor type " + std::to_string(desc.type));
    if (!desc.lwitem.global) services().problem(name() + ": LWListControl without a global-lookup function");
}

LWItemID ItemListControl::item() const { return itemFromNumber(static_cast<std::uint32_t>(value)); }

void ItemListControl::refresh() {
    items = services().itemsOfType ? services().itemsOfType(desc.lwitem.itemType, kItemsKept)
                                   : std::vector<std::pair<LWItemID, std::string>>{};
}

bool ItemListControl::pick(LWItemID chosen) {
    char id[24];
    std::snprintf(id, sizeof id, "%X", static_cast<unsigned>(itemNumber(chosen)));
    services().note(name() + "> pick " + (chosen ? id : "none"));
    const bool offered = !chosen || (services().offersItem && services().offersItem(chosen, desc.lwitem.itemType));
    if (!offered) {
        services().problem(name() + ": item " + id + " is not offered");
        return true;
    }
    value = static_cast<int>(itemNumber(chosen));
    fireEvent();
    return true;
}

BoolControl::BoolControl(Panel& owner, int controlNumber, const LWPanControlDesc* given, std::string controlLabel)
    : Control(owner, controlNumber, "BoolControl", given, std::move(controlLabel)) {
    if (desc.type != LWT_BOOLEAN) services().problem(name() + ": BoolControl with descriptor type " + std::to_string(desc.type));
}

bool BoolControl::check(bool on) {
    services().note(name() + "> check " + (on ? "on" : "off"));
    value = on ? 1 : 0;
    fireEvent();
    return true;
}

FloatControl::FloatControl(Panel& owner, int controlNumber, const LWPanControlDesc* given, std::string controlLabel)
    : Control(owner, controlNumber, "FloatControl", given, std::move(controlLabel)) {
    if (desc.type != LWT_FLOAT) services().problem(name() + ": FloatControl with descriptor type " + std::to_string(desc.type));
}

bool FloatControl::enter(double number) {
    services().note(name() + "> enter " + numberText(number, kAllDigits));
    floatValue = number;
    fireEvent();
    return true;
}

std::unique_ptr<Control> makeControl(Panel& panel, int number, const std::string& kind, const LWPanControlDesc* desc,
                                     const std::string& label) {
    if (kind == "MultiListBoxControl") return std::make_unique<MultiListControl>(panel, number, desc, label);
    if (kind == "PopupControl") return std::make_unique<PopupControl>(panel, number, desc, label);
    if (kind == "LWListControl") return std::make_unique<ItemListControl>(panel, number, desc, label);
    if (kind == "BoolControl") return std::make_unique<BoolControl>(panel, number, desc, label);
    if (kind == "FloatControl") return std::make_unique<FloatControl>(panel, number, desc, label);
    return nullptr;
}

}  // namespace host
