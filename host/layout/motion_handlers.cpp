#include "host/layout/motion_handlers.h"

#include <algorithm>

namespace host {

MotionHandlers::MotionHandlers(Layout& layout, const ModuleFile& module, std::string server)
    : layout_(layout), module_(module), server_(std::move(server)) {
    table_.inst = &inst_;
    table_.item = &item_;
    inst_.priv = priv();
}

MotionHandlers::~MotionHandlers() { removeAll(); }

int MotionHandlers::activate(int version) {
    return module_.activate("ItemMotionHandler", server_, version, Services::global(), &table_);
}

LWInstance MotionHandlers::apply(LWItemID item, LWError* error) {
    if (activate(4) != AFUNC_OK || !inst_.create) return nullptr;
    LWError none = nullptr;
    LWInstance instance = inst_.create(inst_.priv, item, error ? error : &none);
    if (instance) applied_.push_back({item, instance});
    return instance;
}

void MotionHandlers::remove(LWInstance instance) {
    auto at = std::find_if(applied_.begin(), applied_.end(), [&](const Applied& a) { return a.instance == instance; });
    if (at == applied_.end()) return;
    applied_.erase(at);
    inst_.destroy(instance);
}

void MotionHandlers::removeAll() {
    while (!applied_.empty()) remove(applied_.front().instance);
}

LWItemID MotionHandlers::cloneItem(LWItemID original) {
    const Item* source = layout_.scene.find(original);
    if (!source) return nullptr;
    const Item copy = *source;
    LWItemID clone = layout_.scene.addItem(copy.type, copy.name + " (2)", copy.parent, copy.owner);
    Item* made = layout_.scene.find(clone);
    for (int axis = 0; axis < 3; ++axis) {
        made->position[axis] = copy.position[axis];
        made->rotation[axis] = copy.rotation[axis];
        made->scaling[axis] = copy.scaling[axis];
    }
    made->restLength = copy.restLength;
    made->named = copy.named;
    for (LWInstance from : instancesOf(original))
        if (LWInstance to = apply(clone)) inst_.copy(to, from);
    return clone;
}

void MotionHandlers::changeIDs(const std::vector<std::pair<LWItemID, LWItemID>>& pairs) {
    std::vector<LWItemID> list;
    for (const auto& [from, to] : pairs) {
        list.push_back(from);
        list.push_back(to);
    }
    list.push_back(nullptr);
    for (const Applied& applied : applied_)
        if (item_.changeID) item_.changeID(applied.instance, list.data());
}

std::vector<LWItemID> MotionHandlers::useItems(LWInstance instance) const {
    std::vector<LWItemID> items;
    for (const LWItemID* id = item_.useItems(instance); id && *id; ++id) items.push_back(*id);
    return items;
}

std::string MotionHandlers::description(LWInstance instance) const {
    const char* text = inst_.descln(instance);
    return text ? text : "";
}

unsigned int MotionHandlers::flags(LWInstance instance) const { return table_.flags(instance); }

SceneData MotionHandlers::save(LWInstance instance) const {
    SceneData data;
    SaveState state(data);
    inst_.save(instance, state.record());
    return data;
}

LWError MotionHandlers::load(LWInstance instance, const SceneData& data) const {
    LoadState state(data);
    return inst_.load(instance, state.record());
}

LWError MotionHandlers::copy(LWInstance to, LWInstance from) const { return inst_.copy(to, from); }

std::vector<LWInstance> MotionHandlers::instancesOf(LWItemID item) const {
    std::vector<LWInstance> found;
    for (const Applied& applied : applied_)
        if (applied.item == item) found.push_back(applied.instance);
    return found;
}

void MotionHandlers::evaluate(double time) {
    MotionState& motion = layout_.motion;
    motion.start(time);
    if (!table_.evaluate) return;

    // Parent first: by the number of ancestors, a looping chain counted once round.
    const std::size_t limit = layout_.scene.items().size();
    auto depth = [&](LWItemID item) {
        std::size_t levels = 0;
        for (const Item* it = layout_.scene.find(item); it && it->parent && levels < limit; ++levels)
            it = layout_.scene.find(it->parent);
        return levels;
    };
    std::vector<LWItemID> order;
    for (const Applied& applied : applied_)
        if (std::find(order.begin(), order.end(), applied.item) == order.end()) order.push_back(applied.item);
    std::stable_sort(order.begin(), order.end(), [&](LWItemID a, LWItemID b) { return depth(a) < depth(b); });

    std::vector<unsigned int> flagBits;
    for (const Applied& applied : applied_) flagBits.push_back(table_.flags ? table_.flags(applied.instance) : 0u);

    for (const bool afterIK : {false, true})
        for (LWItemID item : order) {
            bool ran = false;
            for (std::size_t i = 0; i < applied_.size(); ++i) {
                if (applied_[i].item != item || ((flagBits[i] & LWIMF_AFTERIK) != 0) != afterIK) continue;
                motion.enter(layout_.scene, item);
                const LWItemMotionAccess access = motion.access();
                table_.evaluate(applied_[i].instance, &access);
                ran = true;
            }
            if (ran) motion.leave(true);
        }
}

}  // namespace host
