#include "panels/panel_records.h"

#include <cstring>

#include "abi/host_names.h"
#include "abi/service_lookup.h"

namespace sinewrig {

LWPanControlDesc panelControlDesc;
LWValue panelValue;

LWPanelFuncs* findPanelServices(GlobalFunc* global) {
    return lookupService<LWPanelFuncs>(global, kPanelService);
}

LWPanControlDesc& freshControlDesc(int type) {
    std::memset(&panelControlDesc, 0, sizeof panelControlDesc);
    panelControlDesc.type = type;
    return panelControlDesc;
}

int controlInt(LWControl* control, int tag) {
    std::memset(&panelValue, 0, sizeof panelValue);
    panelValue.type = LWT_INTEGER;
    control->get(control, tag, &panelValue);
    return panelValue.intv.value;
}

void setControlInt(LWControl* control, int tag, int value) {
    std::memset(&panelValue, 0, sizeof panelValue);
    panelValue.type = LWT_INTEGER;
    panelValue.intv.value = value;
    control->set(control, tag, &panelValue);
}

double controlFloat(LWControl* control, int tag) {
    std::memset(&panelValue, 0, sizeof panelValue);
    panelValue.type = LWT_FLOAT;
    control->get(control, tag, &panelValue);
    return panelValue.flt.value;
}

void setControlFloat(LWControl* control, int tag, double value) {
    std::memset(&panelValue, 0, sizeof panelValue);
    panelValue.type = LWT_FLOAT;
    panelValue.flt.value = value;
    control->set(control, tag, &panelValue);
}

void setControlPointer(LWControl* control, int tag, void* pointer) {
    std::memset(&panelValue, 0, sizeof panelValue);
    // The host has no pointer type: for CTL_USERDATA and CTL_USEREVENT it reads
    // ptr.ptr whatever the tag, and the value keeps the tag it has always carried.
    panelValue.type = LWT_INTEGER;
    panelValue.ptr.ptr = pointer;
    control->set(control, tag, &panelValue);
}

}  // namespace sinewrig
