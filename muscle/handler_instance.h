// The per-item state of the motion handler "Sinewrig": what the host passes
// back to every callback of the handler, to evaluation and to the options panel.
#pragma once

#include <cstring>

#include "abi/host_names.h"
#include "abi/lw_host.h"
#include "muscle/muscle_record.h"

namespace sinewrig {

inline constexpr int kDescriptionSize = 260;  // characters, terminator included

struct HandlerInstance {
    LWItemID item = nullptr;  // the creation context; changeID leaves it alone
    // Points into the registry's record storage, which never moves a record.
    MuscleRecord* record = nullptr;
    GlobalFunc* global = nullptr;
    char description[kDescriptionSize] = {};
    const LWItemInfo* itemInfo = nullptr;
    const LWBoneInfo* boneInfo = nullptr;
};

// The description of an instance whose reference has no name: the handler's own.
inline void describePlainly(HandlerInstance& instance) {
    std::strncpy(instance.description, kMuscleServer, kDescriptionSize - 1);
}

// The instance takes `global` and the item and bone info services it gives,
// and the plain description, as on creation and again on loading.
void attachToHost(HandlerInstance& instance, GlobalFunc* global);

}  // namespace sinewrig
