// What the picture plots over the frames: the muscles' length scales and
// their spin about their own length axis, at no more than kFrames frames
// spread over the range, so a long run costs no more memory than a short.
#pragma once

#include <cstddef>
#include <vector>

#include "tools/sinewrig/rig/rig.h"
#include "tools/sinewrig/road/channels.h"

namespace sinewrig_tool {

// The muscles' length scales (their z scale, 1 at rest length) over the
// frames: each muscle's own series when there are few, and always the band
// of their spread.
struct LengthPlot {
    static constexpr std::size_t kFrames = 1000;
    static constexpr std::size_t kMusclesOwnSeries = 12;

    std::vector<int> frames;
    std::vector<std::vector<double>> series;  // by muscle, only with at most kMusclesOwnSeries muscles
    std::vector<double> low, high;            // by frame: the smallest and largest scale of any muscle
    std::size_t lowest = 0, highest = 0;      // the muscles with the smallest and largest scale of all
    double lowestScale = 1, highestScale = 1;
};

// Each muscle's spin about its own length axis over the frames of the length
// plot: at each of them, the largest spin from one evaluated frame to the next
// since the plotted frame before it (degrees); each muscle's own series when
// there are few, and always the largest of any muscle.
struct SpinPlot {
    std::vector<std::vector<double>> series;  // by muscle, only with at most LengthPlot::kMusclesOwnSeries muscles
    std::vector<double> high;                 // by plotted frame
};

// `most` frames of the range at most, spread evenly from its first to its last.
std::vector<int> spreadFrames(const FrameRange& frames, std::size_t most);

void plotLengths(LengthPlot& plot, const FrameSample& sample);
// Plots the largest spins `sincePlotted` and starts them again from 0.
void plotSpins(SpinPlot& plot, std::vector<double>& sincePlotted);

}  // namespace sinewrig_tool
