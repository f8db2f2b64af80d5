#include "tools/sinewrig/road/recording.h"

#include <algorithm>
#include <cmath>

#include "tools/sinewrig/road/poses.h"
#include "tools/sinewrig/road/spin.h"
#include "tools/sinewrig/road/targets.h"

namespace sinewrig_tool {

namespace {

constexpr int kPosesDrawn = 5;

// Each muscle's spin about its length axis since the frame before: kept where
// it is the muscle's largest yet, and the largest since the last plotted frame.
void noteSpins(std::vector<MuscleBone>& muscles, const FrameSample& before, const FrameSample& sample,
               std::vector<double>& sincePlotted) {
    for (std::size_t m = 0; m < muscles.size() && m < sample.muscles.size(); ++m) {
        const Channels& was = before.muscles[m];
        const Channels& is = sample.muscles[m];
        const double spin = spinAboutLength(host::rotationFromHPB(was[0], was[1], was[2]),
                                            host::rotationFromHPB(is[0], is[1], is[2]));
        if (!std::isfinite(spin)) continue;
        sincePlotted[m] = std::max(sincePlotted[m], spin);
        if (spin > muscles[m].largestSpin) {
            muscles[m].largestSpin = spin;
            muscles[m].largestSpinFrame = sample.frame;
        }
    }
}

// Each muscle's shortest and longest length scale yet.
void noteStretches(std::vector<MuscleBone>& muscles, const FrameSample& sample, bool first) {
    for (std::size_t m = 0; m < muscles.size() && m < sample.muscles.size(); ++m) {
        const double stretch = sample.muscles[m][5];
        if (!std::isfinite(stretch)) continue;
        MuscleBone& muscle = muscles[m];
        muscle.shortestStretch = first ? stretch : std::min(muscle.shortestStretch, stretch);
        muscle.longestStretch = first ? stretch : std::max(muscle.longestStretch, stretch);
    }
}

}  // namespace

bool recordFrames(LayoutSession& session, const FramePass& pass, const FrameSink& sink, ChannelSpool& spool,
                  RoadResult& result) {
    std::vector<MuscleBone>& muscles = result.muscles;
    std::vector<Target> targets;
    MuscleIndex muscleOf;
    for (std::size_t m = 0; m < muscles.size(); ++m) {
        targets.push_back(restTarget(*session.layout, muscles[m]));
        muscleOf.emplace(muscles[m].bone, m);
    }
    const std::vector<int> drawn = pass.drawn.empty() ? spreadFrames(pass.frames, kPosesDrawn) : pass.drawn;
    const std::vector<int> plotted = spreadFrames(pass.frames, LengthPlot::kFrames);
    std::size_t nextDrawn = 0, nextPlotted = 0;

    const long total = pass.frames.count();
    FrameSample sample, previous;
    std::vector<double> spinSincePlotted(muscles.size(), 0.0);
    for (long done = 0; done < total; ++done) {
        std::swap(previous, sample);
        sampleFrame(session, muscles, pass.frameAt(done), pass.fps, sample);
        if (!spool.write(sample.muscles)) return false;
        if (done > 0) noteSpins(muscles, previous, sample, spinSincePlotted);
        for (std::size_t m = 0; m < muscles.size(); ++m) {
            double& farthest = muscles[m].heldBack() ? result.farthestHeldBack : result.farthestFromTarget;
            farthest = std::max(farthest, missedBy(*session.layout, muscles[m], targets[m], sample.time));
        }
        noteStretches(muscles, sample, done == 0);
        if (nextDrawn < drawn.size() && drawn[nextDrawn] == sample.frame) {
            result.poses.push_back(poseAt(*session.layout, muscleOf, targets, sample.frame, sample.time));
            ++nextDrawn;
        }
        if (nextPlotted < plotted.size() && plotted[nextPlotted] == sample.frame) {
            plotLengths(result.plot, sample);
            plotSpins(result.spins, spinSincePlotted);
            ++nextPlotted;
        }
        if (sink) sink(sample);
        pass.announce("evaluating", done + 1, total);
    }
    return true;
}

}  // namespace sinewrig_tool
