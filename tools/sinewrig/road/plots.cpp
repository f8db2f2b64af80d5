#include "tools/sinewrig/road/plots.h"

#include <algorithm>
#include <cmath>

namespace sinewrig_tool {

std::vector<int> spreadFrames(const FrameRange& frames, std::size_t most) {
    const long long total = frames.count();
    const long long taken = std::min<long long>(total, static_cast<long long>(most));
    std::vector<int> picked;
    for (long long i = 0; i < taken; ++i)
        picked.push_back(frames.start + frames.step * int(taken == 1 ? 0 : (total - 1) * i / (taken - 1)));
    return picked;
}

void plotLengths(LengthPlot& plot, const FrameSample& sample) {
    plot.frames.push_back(sample.frame);
    const bool own = sample.muscles.size() <= LengthPlot::kMusclesOwnSeries;
    if (own) plot.series.resize(sample.muscles.size());
    double low = 1, high = 1;
    for (std::size_t m = 0; m < sample.muscles.size(); ++m) {
        const double scale = sample.muscles[m][5];
        if (own) plot.series[m].push_back(scale);
        if (!std::isfinite(scale)) continue;
        if (m == 0 || scale < low) low = scale;
        if (m == 0 || scale > high) high = scale;
        if (scale < plot.lowestScale) plot.lowestScale = scale, plot.lowest = m;
        if (scale > plot.highestScale) plot.highestScale = scale, plot.highest = m;
    }
    plot.low.push_back(low);
    plot.high.push_back(high);
}

void plotSpins(SpinPlot& plot, std::vector<double>& sincePlotted) {
    const bool own = sincePlotted.size() <= LengthPlot::kMusclesOwnSeries;
    if (own) plot.series.resize(sincePlotted.size());
    double high = 0;
    for (std::size_t m = 0; m < sincePlotted.size(); ++m) {
        if (own) plot.series[m].push_back(sincePlotted[m]);
        high = std::max(high, sincePlotted[m]);
        sincePlotted[m] = 0;
    }
    plot.high.push_back(high);
}

}  // namespace sinewrig_tool
