// What an instance tells the host about its items: the ones it depends on, the
// renumbering it follows, its evaluation flags and its one-line description.
#include <cstring>

#include "abi/host_names.h"
#include "muscle/handler_instance.h"
#include "muscle/motion_handler.h"
#include "muscle/muscle_registry.h"

namespace sinewrig {

namespace {

bool isShiftJisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// "Sinewrig (name)", cut to the buffer. The cut never splits a double-byte
// character, so no lead byte is left standing before the terminator.
void describe(char* out, const char* name) {
    constexpr std::size_t kLast = kDescriptionSize - 1;
    std::size_t used = 0;
    auto append = [&](const char* text, std::size_t bytes) {
        if (used + bytes > kLast) return false;
        std::memcpy(out + used, text, bytes);
        used += bytes;
        return true;
    };
    append(kMuscleServer, std::strlen(kMuscleServer));
    append(" (", 2);
    bool whole = true;
    for (const char* c = name; *c && whole;) {
        const std::size_t bytes = isShiftJisLeadByte(static_cast<unsigned char>(*c)) && c[1] ? 2 : 1;
        whole = append(c, bytes);
        c += bytes;
    }
    if (whole) append(")", 1);
    out[used] = '\0';
}

}  // namespace

const char* describeMuscleInstance(LWInstance handle) {
    auto* instance = static_cast<HandlerInstance*>(handle);
    if (!instance) return kMuscleServer;
    const char* name = instance->itemInfo && instance->record
                           ? instance->itemInfo->name(instance->record->reference)
                           : nullptr;
    if (name)
        describe(instance->description, name);
    else
        describePlainly(*instance);
    return instance->description;
}

const LWItemID* muscleUseItems(LWInstance handle) {
    static const LWItemID kNoItems[1] = {nullptr};
    auto* instance = static_cast<const HandlerInstance*>(handle);
    return instance && instance->record ? &instance->record->bone : kNoItems;
}

void muscleChangeID(LWInstance handle, const LWItemID* ids) {
    auto* instance = static_cast<HandlerInstance*>(handle);
    if (!instance || !instance->record || !ids) return;
    MuscleRecord& record = *instance->record;
    // Every pair applies to what the pairs before it left.
    for (; ids[0]; ids += 2) {
        if (ids[0] == record.bone) setMuscleBone(record, ids[1]);
        if (ids[0] == record.reference) record.reference = ids[1];
    }
}

unsigned int muscleFlags(LWInstance handle) {
    auto* instance = static_cast<const HandlerInstance*>(handle);
    return instance && instance->record && instance->record->afterIK ? LWIMF_AFTERIK : 0u;
}

}  // namespace sinewrig
