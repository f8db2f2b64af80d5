#include "muscle/rest_binding.h"

#include "items/item_transform.h"

namespace sinewrig {

void bindRest(HandlerInstance& instance, LWItemID item, MuscleRegistry* registry) {
    if (item && registry) {
        // Without a record for the item the instance keeps the one it had.
        const std::int32_t index = findMuscle(registry, item);
        if (index >= 0) instance.record = &muscleAt(registry, index);
    }
    MuscleRecord* record = instance.record;
    if (!record) return;

    // The host is asked nothing about item 0: a bone without ID has no rest
    // length, and a reference of 0 leaves the tip in world space.
    record->restLength =
        record->bone && instance.boneInfo ? instance.boneInfo->restLength(record->bone) : 0.0;
    Vec3 tip = itemToWorld(record->bone, instance.itemInfo, 0.0, {0.0, 0.0, record->restLength});
    if (record->reference)
        tip = transformPoint(itemInverseWorldTransform(record->reference, instance.itemInfo, 0.0), tip);
    record->restTip = tip;
    markBound(*record);
}

}  // namespace sinewrig
