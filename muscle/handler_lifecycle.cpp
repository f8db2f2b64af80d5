// Creating, destroying and copying handler instances.
#include <cstring>
#include <new>

#include "abi/host_names.h"
#include "abi/service_lookup.h"
#include "muscle/handler_instance.h"
#include "muscle/motion_handler.h"
#include "muscle/muscle_registry.h"
#include "muscle/rest_binding.h"

namespace sinewrig {

void attachToHost(HandlerInstance& instance, GlobalFunc* global) {
    instance.global = global;
    describePlainly(instance);
    instance.itemInfo = lookupService<const LWItemInfo>(global, kItemInfoService);
    instance.boneInfo = lookupService<const LWBoneInfo>(global, kBoneInfoService);
}

LWInstance createMuscleInstance(void*, void* context, LWError*) {
    GlobalFunc* global = motionHandlerGlobal();
    auto* pool = lookupService<const LWGlobalPool>(global, kGlobalMemoryService);
    auto* instance = new (std::nothrow) HandlerInstance;
    if (!instance) return nullptr;
    instance->item = static_cast<LWItemID>(context);
    attachToHost(*instance, global);

    MuscleRecord defaults;
    defaults.bone = instance->item;
    if (instance->boneInfo) defaults.restLength = instance->boneInfo->restLength(instance->item);
    instance->record = acquireMuscle(pool, instance->item, defaults);
    // Out of memory: the host gets no instance rather than one without a record.
    if (!instance->record) {
        delete instance;
        return nullptr;
    }
    return instance;
}

void destroyMuscleInstance(LWInstance handle) {
    auto* instance = static_cast<HandlerInstance*>(handle);
    if (!instance) return;
    releaseMuscleRegistry(lookupService<const LWGlobalPool>(instance->global, kGlobalMemoryService));
    delete instance;
}

LWError copyMuscleInstance(LWInstance toHandle, LWInstance fromHandle) {
    auto* to = static_cast<HandlerInstance*>(toHandle);
    auto* from = static_cast<const HandlerInstance*>(fromHandle);
    if (!to || !from) return nullptr;
    to->global = from->global;
    if (to != from) std::memcpy(to->description, from->description, sizeof to->description);
    to->itemInfo = from->itemInfo;
    to->boneInfo = from->boneInfo;
    if (to->record && from->record) {
        to->record->afterIK = from->record->afterIK;
        to->record->preserveVolume = from->record->preserveVolume;
        to->record->controls = from->record->controls;
        to->record->reference = from->record->reference;
    }
    bindRest(*to, to->item, currentMuscleRegistry());
    return nullptr;
}

}  // namespace sinewrig
