#include "host/layout/bone_info.h"

#include "host/layout/layout.h"

namespace host {

namespace {

unsigned int flags(LWItemID) { return 0; }

// A bone's rest position and rotation are its channels at time 0.
void restParam(LWItemID bone, LWItemParam param, LWDVector vector) {
    Layout::active()->log.record("restParam", bone, param);
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
