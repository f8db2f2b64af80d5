// "LW Item Info 3" over the active stand-in Layout's scene.
#pragma once

#include "abi/lw_host.h"

namespace host {

class Layout;

// The service record; its functions answer from Layout::active().
LWItemInfo* itemInfoRecord();

}  // namespace host
