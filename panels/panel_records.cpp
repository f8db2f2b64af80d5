#include "panels/panel_records.h"

#include <cstring>

#include "abi/host_names.h"
#include "abi/service_lookup.h"

namespace sinewrig {

namespace {

// Zeroed whole, padding included, so the host reads no stale bytes.
LWValue valueOf(int type) {
    LWValue value;
    std::memset(&value, 0, sizeof value);
    value.type = type;
    return value;
}

}  // namespace

LWPanelFuncs* findPanelServices(GlobalFunc* global) {
    return lookupService<LWPanelFuncs>(global, kPanelService);
}

LWPanControlDesc controlDesc(int type) {
    LWPanControlDesc desc;
    std::memset(&desc, 0, sizeof desc);
    desc.type = type;
    return desc;
}

int controlInt(LWControl* control, int tag) {
    LWValue value = valueOf(LWT_INTEGER);
    control->get(control, tag, &value);
    return value.intv.value;
}

void setControlInt(LWControl* control, int tag, int number) {
    LWValue value = valueOf(LWT_INTEGER);
    value.intv.value = number;
    control->set(control, tag, &value);
}

double controlFloat(LWControl* control, int tag) {
    LWValue value = valueOf(LWT_FLOAT);
    control->get(control, tag, &value);
    return value.flt.value;
}

void setControlFloat(LWControl* control, int tag, double number) {
    LWValue value = valueOf(LWT_FLOAT);
    value.flt.value = number;
    control->set(control, tag, &value);
}

void setControlPointer(LWControl* control, int tag, void* pointer) {
    // The host has no pointer type: for CTL_USERDATA and CTL_USEREVENT it reads
    // ptr.ptr whatever the tag, and the value keeps the tag it has always carried.
    LWValue value = valueOf(LWT_INTEGER);
    value.ptr.ptr = pointer;
    control->set(control, tag, &value);
}

}  // namespace sinewrig
