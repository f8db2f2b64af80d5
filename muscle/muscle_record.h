// One muscle bone's settings and rest data, shared by every handler instance on
// that bone, the options panel and ReadMuscle.
#pragma once

#include <cstddef>
#include <cstdint>

#include "abi/lw_host.h"
#include "math/vector.h"
#include "muscle/muscle_controls.h"

namespace sinewrig {

struct MuscleRegistry;

struct MuscleRecord {
    LWItemID bone = nullptr;       // the key by which the record is found
    LWItemID reference = nullptr;  // 0: evaluation leaves the bone alone
    // Always 0: with the two IDs before it, the zero-terminated list useItems returns.
    LWItemID itemListEnd = nullptr;
    Vec3 restTip;  // the bone's tip at rest, in the reference item's frame
    bool preserveVolume = false;
    bool afterIK = true;
    MuscleControls controls;
    double restLength = 0.0;
    // Set when the record is appended: the registry whose index holds it, its
    // index there, and the registry's rebind mark it was last bound under.
    MuscleRegistry* owner = nullptr;
    std::int32_t index = -1;
    std::uint64_t boundMark = 0;
};

// useItems hands the host the record's first three fields as its item list.
static_assert(offsetof(MuscleRecord, reference) == sizeof(LWItemID) &&
              offsetof(MuscleRecord, itemListEnd) == 2 * sizeof(LWItemID));

}  // namespace sinewrig
