#include "host/layout/layout.h"

#include "host/layout/bone_info.h"
#include "host/layout/item_info.h"

namespace host {

namespace {
Layout* activeLayout = nullptr;
}

Layout::Layout() : previous_(activeLayout) {
    activeLayout = this;
    services.add("LW Item Info 3", itemInfoRecord());
    services.add("LW Bone Info 3", boneInfoRecord());
    services.add("Global Memory", globalPoolRecord());
}

Layout::~Layout() {
    if (activeLayout == this) activeLayout = previous_;
}

void Layout::itemParam(LWItemID id, LWItemParam param, LWTime time, double out[3]) const {
    if (!motion.reports(id, param, time, out)) scene.channelValue(id, param, time, out);
}

Layout* Layout::active() { return activeLayout; }

}  // namespace host
