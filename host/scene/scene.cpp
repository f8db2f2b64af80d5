#include "host/scene/scene.h"

#include <algorithm>
#include <cstdint>

namespace host {

double Channel::valueAt(double time) const {
    if (keys.empty()) return 0.0;
    if (time <= keys.front().time) return keys.front().value;
    if (time >= keys.back().time) return keys.back().value;
    auto after = std::upper_bound(keys.begin(), keys.end(), time,
                                  [](double t, const Key& k) { return t < k.time; });
    const Key& b = *after;
    const Key& a = *(after - 1);
    return a.value + (b.value - a.value) * (time - a.time) / (b.time - a.time);
}

void Channel::setKey(double time, double value) {
    auto at = std::lower_bound(keys.begin(), keys.end(), time,
                               [](const Key& k, double t) { return k.time < t; });
    if (at != keys.end() && at->time == time)
        at->value = value;
    else
        keys.insert(at, Key{time, value});
}

namespace {

// Item IDs are (type + 1) in the top nibble and the item's index + 1 below it.
constexpr std::uintptr_t kIndexMask = 0x0FFFFFFF;

}  // namespace

LWItemID Scene::addItem(LWItemType type, std::string name, LWItemID parent, LWItemID owner) {
    Item item;
    const std::uintptr_t typeBits = typedIds ? static_cast<std::uintptr_t>(type + 1) << 28 : 0;
    item.id = reinterpret_cast<LWItemID>(typeBits | (items_.size() + 1));
    item.type = type;
    item.name = std::move(name);
    item.parent = parent;
    if (type == LWI_BONE && !owner)
        if (const Item* up = find(parent)) owner = up->type == LWI_OBJECT ? up->id : up->owner;
    item.owner = owner;
    for (auto& s : item.scaling) s.setKey(0.0, 1.0);
    items_.push_back(std::move(item));
    return items_.back().id;
}

Item* Scene::find(LWItemID id) {
    const auto raw = reinterpret_cast<std::uintptr_t>(id);
    const auto index = raw & kIndexMask;
    if (index == 0 || index > items_.size() || items_[index - 1].id != id) return nullptr;
    return &items_[index - 1];
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
    for (int i = 0; i < 3; ++i) ch[i].keys = {Key{0.0, value[i]}};
}

void Scene::channelValue(LWItemID id, LWItemParam param, double time, double out[3]) const {
    const Item* item = find(id);
    const Channel* ch = item ? channels(*item, param) : nullptr;
    for (int i = 0; i < 3; ++i) out[i] = ch ? ch[i].valueAt(time) : 0.0;
}

}  // namespace host
