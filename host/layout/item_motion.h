// The motion items get during one evaluation of a time: what item motion
// handlers read through getParam and replace through setParam, and what item
// info reports once an item's handlers have run.
#pragma once

#include <unordered_map>
#include <vector>

#include "host/scene/scene.h"
#include "abi/lw_host.h"

namespace host {

struct ItemMotion {
    double position[3] = {0, 0, 0};
    double rotation[3] = {0, 0, 0};
    double scaling[3] = {1, 1, 1};
    bool handled = false;  // a handler of the item has run at this time

    double* param(LWItemParam which);
    const double* param(LWItemParam which) const;
};

// One setParam call, with the values as the module passed them.
struct ParamWrite {
    LWItemID item;
    LWItemParam param;
    double time;
    double value[3];
};

class MotionState {
public:
    static constexpr double kFramesPerSecond = 30.0;

    // Forgets every motion: a new time is being evaluated.
    void start(double time);
    double time() const { return time_; }

    // Makes `item` the one being evaluated; its motion starts as its channels.
    // Null when item is null. The access record's functions work on this item.
    ItemMotion* enter(const Scene& scene, LWItemID item);
    void leave(bool handled);
    LWItemID current() const { return current_; }
    LWItemMotionAccess access() const;

    // The handlers' result for an item they have run for at `time`, if any.
    bool reports(LWItemID item, LWItemParam param, double time, double out[3]) const;
    const ItemMotion* motionOf(LWItemID item) const;

    // Every setParam call over all evaluations, kept while the Layout's call
    // log is enabled (so that timing runs allocate nothing); never cleared by start.
    std::vector<ParamWrite> writes;

private:
    bool started_ = false;
    double time_ = 0.0;
    LWItemID current_ = nullptr;
    std::unordered_map<LWItemID, ItemMotion> motions_;  // hashed: a large rig's frame looks items up tens of thousands of times
};

}  // namespace host
