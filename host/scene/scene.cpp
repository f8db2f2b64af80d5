#include "host/scene/scene.h"

#include "abi/item_number.h"

namespace host {

LWItemID Scene::ownerOf(LWItemType type, LWItemID parent, LWItemID owner) const {
    if (type == LWI_BONE && !owner)
        if (const Item* up = find(parent)) return up->type == LWI_OBJECT ? up->id : up->owner;
    return owner;
}

LWItemID Scene::addItem(LWItemType type, std::string name, LWItemID parent, LWItemID owner) {
    owner = ownerOf(type, parent, owner);
    std::uint32_t number = numbers_.count(type, itemNumber(owner));
    if (numbering == Numbering::plain) number = static_cast<std::uint32_t>(items_.size() + 1);
    if (!numbers_.hold(number, items_.size())) {
        number = numbers_.spare(type);
        if (!numbers_.hold(number, items_.size())) return nullptr;
    }
    return add(number, type, std::move(name), parent, owner);
}

LWItemID Scene::addNumberedItem(std::uint32_t number, LWItemType type, std::string name, LWItemID parent,
                                LWItemID owner) {
    owner = ownerOf(type, parent, owner);
    if (!numbers_.hold(number, items_.size())) return nullptr;
    numbers_.count(type, itemNumber(owner));
    return add(number, type, std::move(name), parent, owner);
}

LWItemID Scene::add(std::uint32_t number, LWItemType type, std::string name, LWItemID parent, LWItemID owner) {
    Item item;
    item.id = itemFromNumber(number);
    item.type = type;
    item.name = std::move(name);
    item.parent = parent;
    item.owner = owner;
    for (auto& s : item.scaling) s.setKey(0.0, 1.0);
    items_.push_back(std::move(item));
    return items_.back().id;
}

Item* Scene::find(LWItemID id) {
    const auto raw = reinterpret_cast<std::uintptr_t>(id);
    if (raw != itemNumber(id)) return nullptr;  // wider than any item number
    const std::size_t* index = numbers_.find(itemNumber(id));
    return index ? &items_[*index] : nullptr;
}

const Item* Scene::find(LWItemID id) const { return const_cast<Scene*>(this)->find(id); }

Channel* Scene::channels(Item& item, LWItemParam param) {
    switch (param) {
    case LWIP_POSITION: return item.position;
    case LWIP_ROTATION: return item.rotation;
    case LWIP_SCALING: return item.scaling;
    default: return nullptr;
    }
}

const Channel* Scene::channels(const Item& item, LWItemParam param) {
    return channels(const_cast<Item&>(item), param);
}

void Scene::setKey(LWItemID id, LWItemParam param, double time, const double value[3]) {
    Item* item = find(id);
    Channel* ch = item ? channels(*item, param) : nullptr;
    if (!ch) return;
    for (int i = 0; i < 3; ++i) ch[i].setKey(time, value[i]);
}

void Scene::setValue(LWItemID id, LWItemParam param, const double value[3]) {
    Item* item = find(id);
    Channel* ch = item ? channels(*item, param) : nullptr;
    if (!ch) return;
    for (int i = 0; i < 3; ++i) ch[i] = Channel{{Key{0.0, value[i]}}};
}

void Scene::channelValue(LWItemID id, LWItemParam param, double time, double out[3]) const {
    const Item* item = find(id);
    const Channel* ch = item ? channels(*item, param) : nullptr;
    for (int i = 0; i < 3; ++i) out[i] = ch ? ch[i].valueAt(time) : 0.0;
}

}  // namespace host
