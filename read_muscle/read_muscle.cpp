#include "read_muscle/read_muscle.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <new>
#include <vector>

#include "abi/host_names.h"
#include "abi/service_lookup.h"
#include "muscle/muscle_registry.h"
#include "read_muscle/bone_names.h"
#include "read_muscle/muscle_tag_entry.h"

namespace sinewrig {

namespace {

// "オブジェクトを選択してから実行してください。"
constexpr const char* kSelectAnObject =
    "\x83\x49\x83\x75\x83\x57\x83\x46\x83\x4e\x83\x67\x82\xf0\x91\x49\x91\xf0\x82\xb5\x82\xc4\x82\xa9\x82\xe7"
    "\x8e\xc0\x8d\x73\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42";

struct Services {
    const LWObjectInfo* objectInfo;
    const LWInterfaceInfo* interfaceInfo;
    const LWItemInfo* itemInfo;
    const LWGlobalPool* pool;
    const LWMessageFuncs* messages;
};

// Layout changes only through its command strings; their results are not examined.
class LayoutCommands {
public:
    explicit LayoutCommands(const LWLayoutGeneric& generic) : generic_(generic) {}

    // Upper-case hexadecimal without leading zeros. The host's IDs are 32 bits
    // wide, where this is "%X"; a wider ID is printed whole, not cut.
    void selectItem(LWItemID item) { issue("SelectItem %" PRIXPTR, reinterpret_cast<std::uintptr_t>(item)); }
    void itemColor(int colour) { issue("ItemColor %d", colour); }
    void applyMotionHandler() { issue("ApplyServer %s %s", kItemMotionHandlerClass, kMuscleServer); }

private:
    template <class... Args>
    void issue(const char* format, Args... args) {
        char command[128];
        std::snprintf(command, sizeof command, format, args...);
        generic_.evaluate(generic_.data, command);
    }

    const LWLayoutGeneric& generic_;
};

// The object the command works on: the first selected item, when it is one.
LWItemID selectedObject(const Services& host) {
    const LWItemID* selection = host.interfaceInfo->selItems;
    if (!selection || !selection[0]) return nullptr;
    return host.itemInfo->type(selection[0]) == LWI_OBJECT ? selection[0] : nullptr;
}

bool canScan(const LWMeshInfo* mesh) { return mesh && mesh->scanPolys && mesh->polType && mesh->polTag; }

// What the tags set of a muscle's record; its controls stay as they were.
void takeTags(MuscleRecord& record, const MuscleTagEntry& entry, LWItemID reference) {
    record.reference = reference;
    record.preserveVolume = entry.preserveVolume;
    record.afterIK = entry.afterIK;
}

// Records, colours and applies the handler to every entry whose bone the object has.
void setUpMuscles(const Services& host, LayoutCommands& layout, MuscleRegistry& registry, LWItemID object,
                  const std::vector<MuscleTagEntry>& entries) {
    auto name = [](const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; };
    BoneNames bones(*host.itemInfo, object);
    std::vector<LWItemID> muscleBones;
    muscleBones.reserve(entries.size());

    // Every record is in place, with its reference, before the handler is
    // applied to any bone, so each new instance finds its bone's record; the
    // mark after them all flags the new records for binding with the others.
    for (const MuscleTagEntry& entry : entries) {
        LWItemID bone = bones.find(name(entry.boneName));
        if (!bone) continue;
        LWItemID reference = bones.find(name(entry.referenceName));
        const std::int32_t index = findMuscle(&registry, bone);
        if (index < 0) {
            MuscleRecord fresh;
            fresh.bone = bone;
            takeTags(fresh, entry, reference);
            // A bone whose record cannot be had is left as it is.
            if (!appendMuscle(&registry, fresh)) continue;
        } else {
            takeTags(muscleAt(&registry, index), entry, reference);
        }
        layout.selectItem(bone);
        if (entry.colourIndex != -1) layout.itemColor(entry.colourIndex);
        muscleBones.push_back(bone);
    }

    markAllForRebind(&registry);
    for (LWItemID bone : muscleBones) {
        layout.selectItem(bone);
        layout.applyMotionHandler();
    }
}

int run(const Services& host, const LWLayoutGeneric& generic) {
    LWItemID object = selectedObject(host);
    LWMeshInfo* mesh = object && host.objectInfo->meshInfo ? host.objectInfo->meshInfo(object, 0) : nullptr;
    if (!canScan(mesh)) {
        if (mesh && mesh->destroy) mesh->destroy(mesh);
        if (host.messages->error) host.messages->error(kSelectAnObject, nullptr);
        return AFUNC_OK;
    }

    MuscleRegistry* registry = getMuscleRegistry(host.pool);
    MuscleTagScan scan;
    scan.mesh = mesh;
    if (registry) mesh->scanPolys(mesh, collectMuscleTag, &scan);
    // The command makes no use of the view after the scan.
    if (mesh->destroy) mesh->destroy(mesh);
    // Without its registry or every entry the command would set up only part of the object.
    if (!registry || scan.outOfMemory) return AFUNC_OK;

    LayoutCommands layout(generic);
    try {
        setUpMuscles(host, layout, *registry, object, scan.entries);
    } catch (const std::bad_alloc&) {
        // Only the bone index and the bone list allocate, both before the first command.
    }
    return AFUNC_OK;
}

}  // namespace

int ReadMuscle(int version, GlobalFunc* global, void* local, void*) {
    if (version != kLayoutGenericVersion) return AFUNC_BADVERSION;
    // All five are asked for before any is tested.
    const Services host = {
        lookupService<const LWObjectInfo>(global, kObjectInfoService),
        lookupService<const LWInterfaceInfo>(global, kInterfaceInfoService),
        lookupService<const LWItemInfo>(global, kItemInfoService),
        lookupService<const LWGlobalPool>(global, kGlobalMemoryService),
        lookupService<const LWMessageFuncs>(global, kMessageService),
    };
    auto* generic = static_cast<const LWLayoutGeneric*>(local);
    if (!host.objectInfo || !host.interfaceInfo || !host.itemInfo || !host.pool || !host.messages || !generic ||
        !generic->evaluate)
        return AFUNC_BADGLOBAL;
    try {
        return run(host, *generic);
    } catch (...) {
        return AFUNC_OK;
    }
}

}  // namespace sinewrig
