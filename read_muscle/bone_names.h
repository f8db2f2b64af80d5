// Finding an object's bones by name. The object's bones are walked once, on
// the first lookup, instead of once per lookup: an object of n bones with n
// tagged skelegons costs n name queries, not n squared.
#pragma once

#include <string>
#include <unordered_map>

#include "abi/lw_host.h"

namespace sinewrig {

class BoneNames {
public:
    BoneNames(const LWItemInfo& itemInfo, LWItemID object) : itemInfo_(itemInfo), object_(object) {}

    // The first bone of the object, in the host's bone order, whose name
    // equals `name` byte for byte; 0 for null or when no bone has it.
    // May throw std::bad_alloc on the first lookup.
    LWItemID find(const char* name);

private:
    void index();

    const LWItemInfo& itemInfo_;
    LWItemID object_;
    bool indexed_ = false;
    std::unordered_map<std::string, LWItemID> bones_;
};

}  // namespace sinewrig
