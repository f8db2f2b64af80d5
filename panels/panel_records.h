// The control descriptor and value record that every panel of the module
// shares (panels are modal, so one is in use at a time), and the control
// calls made through them.
#pragma once

#include "abi/lw_host.h"

namespace sinewrig {

extern LWPanControlDesc panelControlDesc;
extern LWValue panelValue;

// "LWPanelServices", or null when the host has none.
LWPanelFuncs* findPanelServices(GlobalFunc* global);

// The shared descriptor, cleared and given `type`, ready for the caller's members.
LWPanControlDesc& freshControlDesc(int type);

int controlInt(LWControl* control, int tag);
void setControlInt(LWControl* control, int tag, int value);
double controlFloat(LWControl* control, int tag);
void setControlFloat(LWControl* control, int tag, double value);
void setControlPointer(LWControl* control, int tag, void* pointer);

}  // namespace sinewrig
