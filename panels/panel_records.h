// The control descriptors and value records that the module's panels hand the
// host, and the control calls made through them. Each is made fresh for its
// one call: the host reads a descriptor only during addControl and a value
// only during get or set.
#pragma once

#include "abi/lw_host.h"

namespace sinewrig {

// "LWPanelServices", or null when the host has none.
LWPanelFuncs* findPanelServices(GlobalFunc* global);

// A descriptor of `type`, every other byte zero, ready for the caller's members.
LWPanControlDesc controlDesc(int type);

int controlInt(LWControl* control, int tag);
void setControlInt(LWControl* control, int tag, int value);
double controlFloat(LWControl* control, int tag);
void setControlFloat(LWControl* control, int tag, double value);
void setControlPointer(LWControl* control, int tag, void* pointer);

}  // namespace sinewrig
