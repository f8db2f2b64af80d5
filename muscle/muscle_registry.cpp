#include "muscle/muscle_registry.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace sinewrig {

namespace {

// The registry this load of the module made or adopted from the block.
MuscleRegistry* currentRegistry = nullptr;

// The block holds one pointer; it is read and written bytewise because the
// host promises nothing about the alignment of a block.
MuscleRegistry* registryIn(void* block) {
    MuscleRegistry* registry = nullptr;
    std::memcpy(&registry, block, sizeof registry);
    return registry;
}

void store(void* block, MuscleRegistry* registry) { std::memcpy(block, &registry, sizeof registry); }

MuscleRegistry* makeRegistry(void* block, std::int32_t useCount) {
    MuscleRegistry* registry = nullptr;
    try {
        registry = new MuscleRegistry;
    } catch (...) {
        return nullptr;
    }
    registry->useCount = useCount;
    if (block) store(block, registry);
    currentRegistry = registry;
    return registry;
}

// The registry the block holds, making the block or the registry when there is
// none. A registry left there by an earlier load of the module file becomes the
// current one, since copy, load and evaluation reach the registry only that way.
// Without the "Global Memory" service the current registry stands alone.
MuscleRegistry* findOrMakeRegistry(const LWGlobalPool* pool) {
    void* block = pool ? pool->find(kRegistryBlockName) : nullptr;
    if (pool && !block) block = pool->create(kRegistryBlockName, static_cast<int>(sizeof(MuscleRegistry*)));
    if (!block) return currentRegistry ? currentRegistry : makeRegistry(nullptr, 0);
    MuscleRegistry* registry = registryIn(block);
    if (!registry) return makeRegistry(block, 0);
    currentRegistry = registry;
    return registry;
}

// Adds the record at `index` under `bone`. A lookup that cannot keep its
// index in memory falls back to walking the records.
void indexRecord(MuscleRegistry& registry, LWItemID bone, std::int32_t index) {
    try {
        auto& indices = registry.byBone[bone];
        indices.insert(std::lower_bound(indices.begin(), indices.end(), index), index);
    } catch (...) {
        registry.indexed = false;
        registry.byBone.clear();
    }
}

}  // namespace

std::int32_t findMuscle(const MuscleRegistry* registry, LWItemID bone) {
    if (!registry) return -1;
    if (registry->indexed) {
        auto found = registry->byBone.find(bone);
        return found == registry->byBone.end() || found->second.empty() ? -1 : found->second.front();
    }
    std::int32_t index = 0;
    for (const MuscleRecord& record : registry->records) {
        if (record.bone == bone) return index;
        ++index;
    }
    return -1;
}

MuscleRecord& muscleAt(MuscleRegistry* registry, std::int32_t index) {
    return registry->records[static_cast<std::size_t>(index)];
}

std::int32_t muscleCount(const MuscleRegistry* registry) {
    return registry ? static_cast<std::int32_t>(registry->records.size()) : 0;
}

bool appendMuscle(MuscleRegistry* registry, const MuscleRecord& record) {
    if (!registry) return false;
    try {
        registry->records.push_back(record);
    } catch (...) {
        return false;
    }
    MuscleRecord& added = registry->records.back();
    added.owner = registry;
    added.index = muscleCount(registry) - 1;
    added.boundMark = registry->rebindMark;
    if (registry->indexed) indexRecord(*registry, added.bone, added.index);
    return true;
}

void markAllForRebind(MuscleRegistry* registry) {
    if (registry) ++registry->rebindMark;
}

void setMuscleBone(MuscleRecord& record, LWItemID bone) {
    if (record.bone == bone) return;
    MuscleRegistry* registry = record.owner;
    if (registry && registry->indexed) {
        auto old = registry->byBone.find(record.bone);
        if (old != registry->byBone.end()) {
            auto& indices = old->second;
            auto at = std::lower_bound(indices.begin(), indices.end(), record.index);
            if (at != indices.end() && *at == record.index) indices.erase(at);
            if (indices.empty()) registry->byBone.erase(old);
        }
        indexRecord(*registry, bone, record.index);
    }
    record.bone = bone;
}

bool needsRebind(const MuscleRecord& record) {
    return record.owner && record.boundMark < record.owner->rebindMark;
}

void markBound(MuscleRecord& record) {
    record.boundMark = record.owner ? record.owner->rebindMark : 0;
}

MuscleRegistry* getMuscleRegistry(const LWGlobalPool* pool) { return findOrMakeRegistry(pool); }

MuscleRecord* acquireMuscle(const LWGlobalPool* pool, LWItemID bone, const MuscleRecord& defaultRecord) {
    MuscleRegistry* registry = findOrMakeRegistry(pool);
    if (!registry) return nullptr;
    std::int32_t index = findMuscle(registry, bone);
    if (index < 0) {
        if (!appendMuscle(registry, defaultRecord)) return nullptr;
        index = muscleCount(registry) - 1;
    }
    ++registry->useCount;
    return &muscleAt(registry, index);
}

void releaseMuscleRegistry(const LWGlobalPool* pool) {
    void* block = pool ? pool->find(kRegistryBlockName) : nullptr;
    MuscleRegistry* registry = block ? registryIn(block) : nullptr;
    if (!registry) registry = currentRegistry;
    // Deleting only with the last user keeps every live instance's record alive,
    // whichever way the registry was reached.
    if (!registry || --registry->useCount > 0) return;
    if (block && registryIn(block) == registry) store(block, nullptr);
    if (currentRegistry == registry) currentRegistry = nullptr;
    delete registry;
}

MuscleRegistry* currentMuscleRegistry() { return currentRegistry; }

}  // namespace sinewrig
