// The stand-in Layout: an item scene and the services the module reaches
// through the global-lookup function. The most recently made Layout is the
// active one, whose services the global-lookup function serves.
#pragma once

#include "host/process/call_log.h"
#include "host/layout/global_memory.h"
#include "host/layout/item_motion.h"
#include "host/layout/scene.h"
#include "host/process/services.h"

namespace host {

class Layout {
public:
    Layout();
    ~Layout();
    Layout(const Layout&) = delete;
    Layout& operator=(const Layout&) = delete;

    Scene scene;
    CallLog log;
    Services services;
    // Lives as long as the Layout: one Layout stands for one host process.
    GlobalMemory globalMemory;
    // The motions item motion handlers gave during the latest evaluation.
    MotionState motion;

    // What item info's param reports for an item at a time: the handlers'
    // result once they have run for it at that time, otherwise its channels.
    void itemParam(LWItemID id, LWItemParam param, LWTime time, double out[3]) const;

    static Layout* active();

private:
    Layout* previous_;
};

}  // namespace host
