#include "host/layout/layout.h"

#include "host/layout/bone_info.h"
#include "host/layout/info_messages.h"
#include "host/layout/item_info.h"
#include "host/layout/layout_generic.h"
#include "host/layout/object_info.h"
#include "host/scene/skelegon_bones.h"

namespace host {

Layout::Layout() {
    services.add("LW Item Info 3", itemInfoRecord());
    services.add("LW Bone Info 3", boneInfoRecord());
    services.add("LW Object Info 6", objectInfoRecord());
    services.add("LW Interface Info 5", &interfaceInfo_);
    services.add("Info Messages 2", infoMessagesRecord());
    services.add("Global Memory", globalPoolRecord());
    services.add("LWPanelServices", panels.record());
    interfaceInfo_.curTime = 0.0;
    interfaceInfo_.selItems = selection_.data();
    generic_ = layoutGenericRecord(*this);
    panels.itemsOfType = [this](int type, std::size_t most) {
        std::vector<std::pair<LWItemID, std::string>> items;
        for (const Item& item : scene.items()) {
            if (items.size() == most) break;
            if (item.type == type) items.emplace_back(item.id, item.name);
        }
        return items;
    };
    panels.offersItem = [this](LWItemID id, int type) {
        const Item* item = scene.find(id);
        return item && item->type == type;
    };
}

LWItemID Layout::addObject(std::string name, std::shared_ptr<const ObjectMesh> mesh, LWItemID parent) {
    LWItemID object = scene.addItem(LWI_OBJECT, std::move(name), parent);
    scene.find(object)->mesh = std::move(mesh);
    return object;
}

std::vector<LWItemID> Layout::convertSkelegons(LWItemID object) { return makeSkelegonBones(scene, object); }

void Layout::select(std::vector<LWItemID> items) {
    selection_ = std::move(items);
    selection_.push_back(nullptr);
    interfaceInfo_.selItems = selection_.data();
}

std::vector<LWItemID> Layout::selection() const { return {selection_.begin(), selection_.end() - 1}; }

void Layout::itemParam(LWItemID id, LWItemParam param, LWTime time, double out[3]) const {
    if (!motion.reports(id, param, time, out)) scene.channelValue(id, param, time, out);
}

std::vector<std::string> Layout::problems() const {
    std::vector<std::string> all = meshViews.problems();
    for (const std::string& problem : panels.problems) all.push_back("panels: " + problem);
    return all;
}

void Layout::makeActive() {
    Activatable<Layout>::makeActive();
    services.makeActive();
    panels.makeActive();
}

}  // namespace host
