#include "host/layout/bone_info.h"

#include "host/layout/layout.h"

namespace host {

namespace {

unsigned int flags(LWItemID) { return 0; }

// A bone's rest position and rotation are those its scene gave, else its channels at time 0.
void restParam(LWItemID bone, LWItemParam param, LWDVector vector) {
    Layout::active()->log.record("restParam", bone, param);
    const Item* item = Layout::active()->scene.find(bone);
    const std::optional<std::array<double, 3>>* given = nullptr;
    if (item && param == LWIP_POSITION) given = &item->restPosition;
    if (item && param == LWIP_ROTATION) given = &item->restRotation;
    if (given && *given)
        for (int i = 0; i < 3; ++i) vector[i] = (**given)[i];
    else
        Layout::active()->scene.channelValue(bone, param, 0.0, vector);
}

double restLength(LWItemID bone) {
    Layout::active()->log.record("restLength", bone);
    const Item* item = Layout::active()->scene.find(bone);
    return item ? item->restLength : 0.0;
}

LWBoneInfo record = {flags, restParam, restLength};

}  // namespace

LWBoneInfo* boneInfoRecord() { return &record; }

}  // namespace host
