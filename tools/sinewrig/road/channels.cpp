#include "tools/sinewrig/road/channels.h"

namespace sinewrig_tool {

namespace {

Channels channelsOf(const host::Layout& layout, LWItemID bone, double time) {
    Channels c{};
    layout.itemParam(bone, LWIP_ROTATION, time, &c[0]);
    layout.itemParam(bone, LWIP_SCALING, time, &c[3]);
    layout.itemParam(bone, LWIP_POSITION, time, &c[6]);
    return c;
}

}  // namespace

void sampleFrame(LayoutSession& session, const std::vector<MuscleBone>& muscles, int frame, double fps,
                 FrameSample& sample) {
    sample.frame = frame;
    sample.time = frame / fps;
    session.handlers->evaluate(sample.time);
    sample.muscles.clear();
    for (const MuscleBone& muscle : muscles) sample.muscles.push_back(channelsOf(*session.layout, muscle.bone, sample.time));
}

}  // namespace sinewrig_tool
