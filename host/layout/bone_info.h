// "LW Bone Info 3" over the active stand-in Layout's scene: bone rest lengths.
#pragma once

#include "abi/lw_host.h"

namespace host {

// The service record; its functions answer from Layout::active().
LWBoneInfo* boneInfoRecord();

}  // namespace host
