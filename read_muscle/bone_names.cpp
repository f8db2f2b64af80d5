#include "read_muscle/bone_names.h"

#include <unordered_set>

namespace sinewrig {

LWItemID BoneNames::find(const char* name) {
    if (!name) return nullptr;
    if (!indexed_) index();
    auto found = bones_.find(name);
    return found == bones_.end() ? nullptr : found->second;
}

void BoneNames::index() {
    indexed_ = true;
    // A host whose bone list led back to a bone already seen would keep the walk going for ever.
    std::unordered_set<LWItemID> seen;
    for (LWItemID bone = itemInfo_.first(LWI_BONE, object_); bone && seen.insert(bone).second;
         bone = itemInfo_.next(bone)) {
        // emplace keeps the first bone of a name.
        if (const char* name = itemInfo_.name(bone)) bones_.emplace(name, bone);
    }
}

}  // namespace sinewrig
