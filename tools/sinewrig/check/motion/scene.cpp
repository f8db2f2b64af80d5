#include "tools/sinewrig/check/motion/scene.h"

#include "abi/item_number.h"
#include "tools/sinewrig/check/report.h"

namespace sinewrig_tool {

namespace {

LWItemID addItem(host::Scene& scene, LWItemType type, const char* name, LWItemID parent, const double position[3]) {
    LWItemID id = scene.addItem(type, name, parent);
    const double none[3] = {0, 0, 0}, whole[3] = {1, 1, 1};
    scene.setValue(id, LWIP_POSITION, position);
    scene.setValue(id, LWIP_ROTATION, none);
    scene.setValue(id, LWIP_SCALING, whole);
    return id;
}

}  // namespace

CheckScene::CheckScene(host::Layout& layout) : layout(layout) {
    host::Scene& scene = layout.scene;
    const double origin[3] = {0, 0, 0}, up[3] = {0, 0.5, 0}, along[3] = {0, 0, 0.6}, aside[3] = {0.8, 0.3, 1.2};
    body = addItem(scene, LWI_OBJECT, "Body", nullptr, up);
    upper = addItem(scene, LWI_BONE, "Upper", body, origin);
    lower = addItem(scene, LWI_BONE, "Lower", upper, along);
    reference = addItem(scene, LWI_OBJECT, "Reference", nullptr, aside);
    scene.find(upper)->restLength = 0.6;
    scene.find(lower)->restLength = 0.4;

    const double risen[3] = {0, 0.7, 0.2}, bent[3] = {0.4, -0.3, 0}, moved[3] = {-0.5, 0.6, 1.0};
    scene.setKey(body, LWIP_POSITION, 1.0, risen);
    scene.setKey(lower, LWIP_ROTATION, 0.0, origin);
    scene.setKey(lower, LWIP_ROTATION, 0.5, bent);
    scene.setKey(reference, LWIP_POSITION, 1.0, moved);
}

std::string CheckScene::nameOf(LWItemID item) const {
    const host::Item* found = layout.scene.find(item);
    return found ? quotedText(found->name.c_str()) : "item " + hexNumber(::itemNumber(item));
}

}  // namespace sinewrig_tool
