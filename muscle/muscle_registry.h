// The muscle registry: every muscle record of the Layout session, kept under the
// "Sinewrig" block of the host's global memory and counted by the handler
// instances that use it.
#pragma once

#include <cstdint>
#include <deque>
#include <unordered_map>
#include <vector>

#include "abi/host_names.h"
#include "abi/lw_host.h"
#include "muscle/muscle_record.h"

namespace sinewrig {

// Records are only appended, so an index never changes; a deque also keeps
// each record at its address as the registry grows, so the item list that
// useItems hands the host and the instances' record pointers stay valid.
struct MuscleRegistry {
    std::deque<MuscleRecord> records;
    std::int32_t useCount = 0;
    // Raised by markAllForRebind: a record bound under a lower mark needs binding again.
    std::uint64_t rebindMark = 0;
    // The indices of each bone's records, in ascending order, so that the first
    // record of a bone is found without walking the records. When memory for
    // it cannot be had the index is dropped and lookups walk the records.
    std::unordered_map<LWItemID, std::vector<std::int32_t>> byBone;
    bool indexed = true;
};

// Index of the first record of `bone`, in index order; -1 when none.
std::int32_t findMuscle(const MuscleRegistry* registry, LWItemID bone);
MuscleRecord& muscleAt(MuscleRegistry* registry, std::int32_t index);
std::int32_t muscleCount(const MuscleRegistry* registry);
// False when memory for the record cannot be had; the registry is then unchanged.
bool appendMuscle(MuscleRegistry* registry, const MuscleRecord& record);
// Every record now needs a rest binding before its next use; in constant time.
void markAllForRebind(MuscleRegistry* registry);

// A record's bone is its key: it is changed only through here, so that the
// record is found under its new bone.
void setMuscleBone(MuscleRecord& record, LWItemID bone);
// Whether the record's rest length and rest tip must be computed again.
bool needsRebind(const MuscleRecord& record);
// The record's rest data has just been computed.
void markBound(MuscleRecord& record);

// Finds or makes the registry without counting a user; null only when no
// memory can be had.
MuscleRegistry* getMuscleRegistry(const LWGlobalPool* pool);
// Counts one more user and returns the record of `bone`, appending
// `defaultRecord` when it has none; null (and no user counted) when memory
// cannot be had.
MuscleRecord* acquireMuscle(const LWGlobalPool* pool, LWItemID bone, const MuscleRecord& defaultRecord);
// Counts one user less and deletes the registry with the last.
void releaseMuscleRegistry(const LWGlobalPool* pool);

// The registry this load of the module made or adopted, or null.
MuscleRegistry* currentMuscleRegistry();

}  // namespace sinewrig
