#include "host/layout/item_info.h"

#include "host/layout/layout.h"

namespace host {

namespace {

Layout& layout() { return *Layout::active(); }

const Item* item(LWItemID id) { return layout().scene.find(id); }

LWItemID first(LWItemType type, LWItemID parent) {
    layout().log.record("first", parent, type);
    for (const Item& it : layout().scene.items())
        if (it.type == type && (type != LWI_BONE || it.owner == parent))
            return it.id;
    return nullptr;
}

LWItemID next(LWItemID id) {
    layout().log.record("next", id);
    const Item* current = item(id);
    if (!current) return nullptr;
    // Items are kept in scene order, so the walk goes on from the current one.
    const auto& items = layout().scene.items();
    for (std::size_t i = static_cast<std::size_t>(current - items.data()) + 1; i < items.size(); ++i)
        if (items[i].type == current->type && items[i].owner == current->owner) return items[i].id;
    return nullptr;
}

LWItemID firstChild(LWItemID parent) {
    layout().log.record("firstChild", parent);
    for (const Item& it : layout().scene.items())
        if (it.parent == parent) return it.id;
    return nullptr;
}

LWItemID nextChild(LWItemID parent, LWItemID prev) {
    layout().log.record("nextChild", parent);
    bool after = false;
    for (const Item& it : layout().scene.items()) {
        if (after && it.parent == parent) return it.id;
        if (it.id == prev) after = true;
    }
    return nullptr;
}

LWItemID parent(LWItemID id) {
    layout().log.record("parent", id);
    const Item* it = item(id);
    return it ? it->parent : nullptr;
}

LWItemID none(LWItemID) { return nullptr; }

LWItemType type(LWItemID id) {
    layout().log.record("type", id);
    const Item* it = item(id);
    return it ? it->type : -1;
}

const char* name(LWItemID id) {
    layout().log.record("name", id);
    const Item* it = item(id);
    return it && it->named ? it->name.c_str() : nullptr;
}

void param(LWItemID id, LWItemParam which, LWTime time, LWDVector vector) {
    layout().log.record("param", id, which, time);
    layout().itemParam(id, which, time, vector);
}

LWItemInfo record = {first, next, firstChild, nextChild, parent, none, none, type, name, param};

}  // namespace

LWItemInfo* itemInfoRecord() { return &record; }

}  // namespace host
