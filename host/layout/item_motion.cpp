#include "host/layout/item_motion.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "host/layout/layout.h"

namespace host {

double* ItemMotion::param(LWItemParam which) {
    switch (which) {
    case LWIP_POSITION: return position;
    case LWIP_ROTATION: return rotation;
    case LWIP_SCALING: return scaling;
    default: return nullptr;
    }
}

const double* ItemMotion::param(LWItemParam which) const { return const_cast<ItemMotion*>(this)->param(which); }

void MotionState::start(double time) {
    started_ = true;
    time_ = time;
    current_ = nullptr;
    motions_.clear();
}

ItemMotion* MotionState::enter(const Scene& scene, LWItemID item) {
    current_ = item;
    if (!item) return nullptr;
    auto [at, added] = motions_.try_emplace(item);
    if (added)
        for (LWItemParam which : {LWIP_POSITION, LWIP_ROTATION, LWIP_SCALING})
            scene.channelValue(item, which, time_, at->second.param(which));
    return &at->second;
}

void MotionState::leave(bool handled) {
    if (handled)
        if (auto at = motions_.find(current_); at != motions_.end()) at->second.handled = true;
    current_ = nullptr;
}

bool MotionState::reports(LWItemID item, LWItemParam param, double time, double out[3]) const {
    if (!started_ || time != time_) return false;
    const ItemMotion* motion = motionOf(item);
    const double* value = motion && motion->handled ? motion->param(param) : nullptr;
    if (!value) return false;
    std::memcpy(out, value, 3 * sizeof(double));
    return true;
}

const ItemMotion* MotionState::motionOf(LWItemID item) const {
    auto at = motions_.find(item);
    return at == motions_.end() ? nullptr : &at->second;
}

namespace {

// The access record's functions carry no context: they work on the item the
// active Layout is evaluating.
void getParam(LWItemParam which, LWTime time, LWDVector vector) {
    Layout& layout = *Layout::active();
    MotionState& state = layout.motion;
    layout.log.record("getParam", state.current(), which, time);
    const ItemMotion* motion = state.motionOf(state.current());
    const double* value = motion && time == state.time() ? motion->param(which) : nullptr;
    if (value)
        std::memcpy(vector, value, 3 * sizeof(double));
    else
        layout.scene.channelValue(state.current(), which, time, vector);
}

void setParam(LWItemParam which, const LWDVector vector) {
    Layout& layout = *Layout::active();
    MotionState& state = layout.motion;
    layout.log.record("setParam", state.current(), which, state.time());
    if (layout.log.enabled && vector)
        state.writes.push_back({state.current(), which, state.time(), {vector[0], vector[1], vector[2]}});
    auto* motion = const_cast<ItemMotion*>(state.motionOf(state.current()));
    if (double* value = motion ? motion->param(which) : nullptr) std::memcpy(value, vector, 3 * sizeof(double));
}

}  // namespace

LWItemMotionAccess MotionState::access() const {
    LWItemMotionAccess access{};
    access.item = current_;
    // A time whose frame number an int cannot hold gets the nearest one it can.
    const double frame = std::floor(time_ * kFramesPerSecond + 0.5);
    access.frame = frame >= double(INT_MAX) ? INT_MAX : frame > double(INT_MIN) ? static_cast<LWFrame>(frame) : INT_MIN;
    access.time = time_;
    access.getParam = getParam;
    access.setParam = setParam;
    return access;
}

}  // namespace host
