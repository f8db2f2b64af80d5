#include "tools/sinewrig/road/comparing.h"

#include <cstring>

namespace sinewrig_tool {

bool compareFrames(LayoutSession& session, const FramePass& pass, const std::vector<MuscleBone>& muscles,
                   ChannelSpool& spool, std::size_t& differences) {
    const long total = pass.frames.count();
    FrameSample sample;
    std::vector<Channels> before(muscles.size());
    for (long done = 0; done < total; ++done) {
        sampleFrame(session, muscles, pass.frameAt(done), pass.fps, sample);
        if (!spool.read(before)) return false;
        for (std::size_t m = 0; m < muscles.size(); ++m)
            for (std::size_t c = 0; c < Channels().size(); ++c)
                if (std::memcmp(&sample.muscles[m][c], &before[m][c], sizeof(double)) != 0) ++differences;
        pass.announce("evaluating the reloaded scene", done + 1, total);
    }
    return true;
}

}  // namespace sinewrig_tool
