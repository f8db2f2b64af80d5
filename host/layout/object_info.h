// "LW Object Info 6" over the active stand-in Layout's scene: objects and
// the mesh views of their meshes.
#pragma once

#include "abi/lw_host.h"

namespace host {

// The service record; its functions answer from Layout::active().
LWObjectInfo* objectInfoRecord();

}  // namespace host
