#include "host/layout/motion_handlers.h"

#include <algorithm>
#include <unordered_map>

namespace host {

MotionHandlers::MotionHandlers(Layout& layout, const ModuleFile& module, std::string server)
    : layout_(layout), module_(module), server_(std::move(server)) {
    layout_.motionHandlers = this;
}

MotionHandlers::~MotionHandlers() {
    removeAll();
    if (layout_.motionHandlers == this) layout_.motionHandlers = nullptr;
}

MotionHandlers::Server& MotionHandlers::serverNamed(const std::string& name) const {
    for (const auto& server : servers_)
        if (server->name == name) return *server;
    servers_.push_back(std::make_unique<Server>());
    Server& made = *servers_.back();
    made.name = name;
    made.table.inst = &made.inst;
    made.table.item = &made.item;
    made.inst.priv = priv();
    return made;
}

const MotionHandlers::Server& MotionHandlers::tablesOf(const std::string& server) const { return serverNamed(server); }

const MotionHandlers::Applied* MotionHandlers::find(LWInstance instance) const {
    // Callers mostly go through the instances in order: the one found last
    // and the one after it are tried first, so a walk over all is not quadratic.
    for (std::size_t at : {lastFound_, lastFound_ + 1})
        if (at < applied_.size() && applied_[at].instance == instance) {
            lastFound_ = at;
            return &applied_[at];
        }
    for (std::size_t at = 0; at < applied_.size(); ++at)
        if (applied_[at].instance == instance) {
            lastFound_ = at;
            return &applied_[at];
        }
    return nullptr;
}

const MotionHandlers::Server* MotionHandlers::serverOf(LWInstance instance) const {
    const Applied* applied = find(instance);
    return applied ? applied->server : &serverNamed(server_);
}

int MotionHandlers::activate(int version) { return activate(server_, version); }

int MotionHandlers::activate(const std::string& server, int version) {
    Server& tables = serverNamed(server);
    return module_.activate("ItemMotionHandler", server, version, Services::global(), &tables.table);
}

bool MotionHandlers::canApply(const std::string& server) const {
    const ServerRecord* row = module_.findServer("ItemMotionHandler", server);
    return row && row->activate;
}

LWInstance MotionHandlers::apply(LWItemID item, LWError* error) { return apply(server_, item, error); }

LWInstance MotionHandlers::apply(const std::string& server, LWItemID item, LWError* error) {
    Server& tables = serverNamed(server);
    if (activate(server, 4) != AFUNC_OK || !tables.inst.create) return nullptr;
    LWError none = nullptr;
    LWInstance instance = tables.inst.create(tables.inst.priv, item, error ? error : &none);
    if (instance) applied_.push_back({item, instance, &tables});
    return instance;
}

void MotionHandlers::remove(LWInstance instance) {
    auto at = std::find_if(applied_.begin(), applied_.end(), [&](const Applied& a) { return a.instance == instance; });
    if (at == applied_.end()) return;
    Server* server = at->server;
    applied_.erase(at);
    if (server->inst.destroy) server->inst.destroy(instance);
}

void MotionHandlers::removeAll() {
    std::vector<Applied> all;
    all.swap(applied_);
    for (const Applied& applied : all)
        if (applied.server->inst.destroy) applied.server->inst.destroy(applied.instance);
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
    made->restPosition = copy.restPosition;
    made->restRotation = copy.restRotation;
    made->active = copy.active;
    std::copy(std::begin(copy.pivot), std::end(copy.pivot), made->pivot);
    made->file = copy.file;
    made->named = copy.named;
    made->colour = copy.colour;
    const std::vector<Applied> originals = applied_;
    for (const Applied& from : originals) {
        if (from.item != original) continue;
        LWInstance to = apply(from.server->name, clone);
        if (to && from.server->inst.copy) from.server->inst.copy(to, from.instance);
    }
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
        if (applied.server->item.changeID) applied.server->item.changeID(applied.instance, list.data());
}

std::vector<LWItemID> MotionHandlers::useItems(LWInstance instance) const {
    std::vector<LWItemID> items;
    const Server* server = serverOf(instance);
    if (!server->item.useItems) return items;
    for (const LWItemID* id = server->item.useItems(instance); id && *id; ++id) items.push_back(*id);
    return items;
}

std::string MotionHandlers::description(LWInstance instance) const {
    const Server* server = serverOf(instance);
    const char* text = server->inst.descln ? server->inst.descln(instance) : nullptr;
    return text ? text : "";
}

unsigned int MotionHandlers::flags(LWInstance instance) const {
    const Server* server = serverOf(instance);
    return server->table.flags ? server->table.flags(instance) : 0u;
}

SceneData MotionHandlers::save(LWInstance instance) const {
    SceneData data;
    SaveState state(data);
    saveTo(instance, *state.record());
    return data;
}

void MotionHandlers::saveTo(LWInstance instance, const LWSaveState& state) const {
    const Server* server = serverOf(instance);
    if (server->inst.save) server->inst.save(instance, &state);
}

LWError MotionHandlers::load(LWInstance instance, const SceneData& data) const {
    LoadState state(data);
    return load(instance, state);
}

LWError MotionHandlers::load(LWInstance instance, LoadState& state) const { return loadFrom(instance, *state.record()); }

LWError MotionHandlers::loadFrom(LWInstance instance, const LWLoadState& state) const {
    const Server* server = serverOf(instance);
    return server->inst.load ? server->inst.load(instance, &state) : nullptr;
}

LWError MotionHandlers::copy(LWInstance to, LWInstance from) const {
    const Server* server = serverOf(to);
    return server->inst.copy ? server->inst.copy(to, from) : nullptr;
}

MotionHandlers::Options MotionHandlers::openOptions(LWInstance instance, int version) const {
    Options result;
    result.local.inst = instance;
    layout_.log.record("openOptions", nullptr);
    result.activation =
        module_.activate("ItemMotionInterface", serverOf(instance)->name, version, Services::global(), &result.local);
    if (result.activation == AFUNC_OK && result.local.options) {
        result.called = true;
        result.error = result.local.options(result.local.inst);
    }
    return result;
}

std::vector<LWInstance> MotionHandlers::instancesOf(LWItemID item) const {
    std::vector<LWInstance> found;
    for (const Applied& applied : applied_)
        if (applied.item == item) found.push_back(applied.instance);
    return found;
}

void MotionHandlers::evaluate(double time) {
    MotionState& motion = layout_.motion;
    motion.start(time);

    // Each item once, with its instances in the order they were applied
    // (chained through `nextOfItem`), parent first: by the number of
    // ancestors, a looping chain counted once round. Sorted on plain numbers,
    // as a large rig's every frame does this.
    struct Entry {
        std::size_t depth, first;
    };
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<Entry> order;
    std::vector<std::size_t> nextOfItem(applied_.size(), kNone), lastOfEntry;
    std::unordered_map<LWItemID, std::size_t> entryOf;
    entryOf.reserve(applied_.size());
    const std::size_t limit = layout_.scene.items().size();
    for (std::size_t i = 0; i < applied_.size(); ++i) {
        auto [at, added] = entryOf.try_emplace(applied_[i].item, order.size());
        if (!added) {
            nextOfItem[lastOfEntry[at->second]] = i;
            lastOfEntry[at->second] = i;
            continue;
        }
        std::size_t levels = 0;
        for (const Item* it = layout_.scene.find(applied_[i].item); it && it->parent && levels < limit; ++levels)
            it = layout_.scene.find(it->parent);
        order.push_back({levels, i});
        lastOfEntry.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [](const Entry& a, const Entry& b) { return a.depth < b.depth; });

    std::vector<unsigned int> flagBits;
    for (const Applied& applied : applied_)
        flagBits.push_back(applied.server->table.flags ? applied.server->table.flags(applied.instance) : 0u);

    for (const bool afterIK : {false, true})
        for (const Entry& entry : order) {
            const LWItemID item = applied_[entry.first].item;
            bool ran = false;
            for (std::size_t i = entry.first; i != kNone; i = nextOfItem[i]) {
                const Applied& applied = applied_[i];
                if (((flagBits[i] & LWIMF_AFTERIK) != 0) != afterIK || !applied.server->table.evaluate) continue;
                motion.enter(layout_.scene, item);
                const LWItemMotionAccess access = motion.access();
                applied.server->table.evaluate(applied.instance, &access);
                ran = true;
            }
            if (ran) motion.leave(true);
        }
}

}  // namespace host
