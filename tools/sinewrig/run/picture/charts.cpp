#include "tools/sinewrig/run/picture/charts.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/sinewrig/road/spin.h"

namespace sinewrig_tool {

namespace {

// The box, grid and axes of a plot over the frames, its values ticked at
// round steps of 1, 2 or 5 times a power of ten and widened to whole steps.
struct PlotArea {
    double left, right, top, bottom;
    Extent frames, values;
    double px(double frame) const {
        return frames.high == frames.low ? (left + right) / 2
                                         : left + (frame - frames.low) / (frames.high - frames.low) * (right - left);
    }
    double py(double value) const { return bottom - (value - values.low) / (values.high - values.low) * (bottom - top); }
    Box labelPanel() const { return {right + 4, top - 10, kWidth - 4, bottom + 10}; }
};

PlotArea drawPlotArea(Svg& svg, double top, double height, const std::string& title, Extent frames, Extent values) {
    PlotArea area{kMargin + 50, kWidth - kMargin - 220, top + 40, top + height - 40, frames, values};
    svg.label(area.left, top + 22, title, "#333333", 14, "start", "bold");
    if (area.frames.empty()) area.frames.add(0);
    // A plot of one value all along still gets a scale to read it on.
    if (area.values.size() < 1e-9 * std::max(1.0, std::abs(area.values.middle()))) {
        const double middle = area.values.middle(), half = 0.05 * std::max(1.0, std::abs(middle));
        area.values = Extent{middle - half, middle + half};
    }
    const double rough = area.values.span() / 4;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    const double step = rough / power <= 1 ? power : rough / power <= 2 ? 2 * power : rough / power <= 5 ? 5 * power : 10 * power;
    // Values that are never negative (scales, spins) keep 0 as their floor.
    const bool fromZero = area.values.low >= 0;
    area.values.low = std::floor(area.values.low / step - 0.25) * step;
    if (fromZero) area.values.low = std::max(area.values.low, 0.0);
    area.values.high = std::ceil(area.values.high / step + 0.25) * step;
    const int ticks = int(std::lround((area.values.high - area.values.low) / step));

    svg.add("<rect x=\"" + num(area.left) + "\" y=\"" + num(area.top) + "\" width=\"" + num(area.right - area.left) +
            "\" height=\"" + num(area.bottom - area.top) + "\" fill=\"#fafaf7\" stroke=\"#bbbbbb\"/>");
    for (int tick = 0; tick <= ticks && tick <= 50; ++tick) {
        const double v = area.values.low + step * tick, y = area.py(v);
        svg.line(area.left, y, area.right, y, "#e4e4e4", 1);
        svg.label(area.left - 8, y + 4, label(std::abs(v) < step / 1000 ? 0.0 : v), "#555555", 11, "end");
    }
    for (int tick = 0; tick <= 4; ++tick) {
        const double f = area.frames.low + (area.frames.high - area.frames.low) * tick / 4, x = area.px(f);
        svg.line(x, area.bottom, x, area.bottom + 5, "#555555", 1);
        svg.label(x, area.bottom + 18, label(std::round(f)), "#555555", 11, "middle");
    }
    svg.label((area.left + area.right) / 2, area.bottom + 34, "frame", "#555555", 12, "middle");
    return area;
}

// One line per muscle, or for many muscles a band, over the plotted frames.
void drawSeries(Svg& svg, const PlotArea& area, const std::vector<int>& frames, const std::vector<double>& values,
                const std::string& colour) {
    std::string points;
    for (std::size_t f = 0; f < values.size() && f < frames.size(); ++f)
        points += num(area.px(frames[f])) + "," + num(area.py(values[f])) + " ";
    svg.add("<polyline fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"2.5\" points=\"" + points + "\"/>");
}

void drawBand(Svg& svg, const PlotArea& area, const std::vector<int>& frames, const std::vector<double>& low,
              const std::vector<double>& high) {
    std::string outline;
    for (std::size_t f = 0; f < frames.size() && f < high.size(); ++f)
        outline += num(area.px(frames[f])) + "," + num(area.py(high[f])) + " ";
    for (std::size_t f = std::min(frames.size(), low.size()); f-- > 0;)
        outline += num(area.px(frames[f])) + "," + num(area.py(low[f])) + " ";
    svg.add("<polygon fill=\"#4363d8\" fill-opacity=\"0.25\" stroke=\"#4363d8\" stroke-width=\"1\" points=\"" + outline +
            "\"/>");
}

}  // namespace

void drawLengthChart(Svg& svg, const RoadResult& road, double top) {
    const LengthPlot& plot = road.plot;
    const bool band = plot.series.empty() && !plot.frames.empty();
    Extent frames, scales;
    scales.add(1.0);
    for (int frame : plot.frames) frames.add(frame);
    for (double s : plot.low) scales.add(s);
    for (double s : plot.high) scales.add(s);
    if (!band)
        for (const MuscleBone& muscle : road.muscles)
            for (double limit : {muscle.stretchMin, muscle.stretchMax})
                if (limit > 0) scales.add(limit);
    const PlotArea area = drawPlotArea(svg, top, kLengthChartHeight,
                                       band ? "Spread of the length scales of all " + std::to_string(road.muscles.size()) +
                                                  " muscles over the frames (1 = rest length)"
                                            : "Length scale of each muscle over the frames (1 = its rest length)",
                                       frames, scales);
    svg.line(area.left, area.py(1.0), area.right, area.py(1.0), "#999999", 1, " stroke-dasharray=\"4 4\"");
    svg.label(area.right - 6, area.py(1.0) - 5, "rest length", "#999999", 11, "end");

    std::vector<Label> ends;
    if (band) {
        drawBand(svg, area, plot.frames, plot.low, plot.high);
        if (plot.highest < road.muscles.size())
            ends.push_back({area.right + 8, area.py(plot.highestScale) + 4,
                            "longest: " + road.muscles[plot.highest].name + " " + label(plot.highestScale), "#4363d8", 12,
                            "bold"});
        if (plot.lowest < road.muscles.size())
            ends.push_back({area.right + 8, area.py(plot.lowestScale) + 4,
                            "shortest: " + road.muscles[plot.lowest].name + " " + label(plot.lowestScale), "#4363d8", 12,
                            "bold"});
    }
    for (std::size_t m = 0; m < plot.series.size() && m < road.muscles.size(); ++m) {
        const std::string colour = muscleColour(m);
        drawSeries(svg, area, plot.frames, plot.series[m], colour);
        // A limited muscle's floor and ceiling, in its colour, where its scale is held.
        for (double limit : {road.muscles[m].stretchMin, road.muscles[m].stretchMax})
            if (limit > 0)
                svg.line(area.left, area.py(limit), area.right, area.py(limit), colour, 1,
                         " stroke-dasharray=\"2 6\" stroke-opacity=\"0.8\"");
        // Placed by where the line ends; giving the least and most it stretched over every frame evaluated.
        if (!plot.series[m].empty()) {
            const MuscleBone& muscle = road.muscles[m];
            ends.push_back({area.right + 8, area.py(plot.series[m].back()) + 4,
                            muscle.name + " " + label(muscle.shortestStretch) + " to " + label(muscle.longestStretch),
                            colour, 12, "bold"});
        }
    }
    placeLabels(svg, ends, area.labelPanel(), {}, 15);
}

// How far each muscle spins about its own length axis from frame to frame,
// with the spin above which the report names a muscle.
void drawSpinChart(Svg& svg, const RoadResult& road, double top) {
    const SpinPlot& spins = road.spins;
    const std::vector<int>& frameList = road.plot.frames;
    const bool band = spins.series.empty() && !frameList.empty();
    Extent frames, degrees;
    degrees.add(0.0);
    degrees.add(kSpinWorthNaming);
    for (int frame : frameList) frames.add(frame);
    for (double d : spins.high) degrees.add(d);
    const PlotArea area = drawPlotArea(svg, top, kSpinChartHeight,
                                       band ? "Largest spin of any of the " + std::to_string(road.muscles.size()) +
                                                  " muscles about its length axis from the frame before (degrees)"
                                            : "Spin of each muscle about its length axis from the frame before (degrees)",
                                       frames, degrees);
    svg.line(area.left, area.py(kSpinWorthNaming), area.right, area.py(kSpinWorthNaming), "#999999", 1,
             " stroke-dasharray=\"4 4\"");
    svg.label(area.right - 6, area.py(kSpinWorthNaming) - 5, "named in the report", "#999999", 11, "end");

    std::vector<Label> ends;
    if (band) {
        drawBand(svg, area, frameList, std::vector<double>(spins.high.size(), 0.0), spins.high);
        std::size_t most = 0;
        for (std::size_t m = 0; m < road.muscles.size(); ++m)
            if (road.muscles[m].largestSpin > road.muscles[most].largestSpin) most = m;
        if (most < road.muscles.size())
            ends.push_back({area.right + 8, area.py(road.muscles[most].largestSpin) + 4,
                            "most: " + road.muscles[most].name + " " + label(road.muscles[most].largestSpin) + "°",
                            "#4363d8", 12, "bold"});
    }
    for (std::size_t m = 0; m < spins.series.size() && m < road.muscles.size(); ++m) {
        const std::string colour = muscleColour(m);
        drawSeries(svg, area, frameList, spins.series[m], colour);
        const double most = road.muscles[m].largestSpin;
        ends.push_back({area.right + 8, area.py(most) + 4,
                        road.muscles[m].name + " " + label(most) + "°" + (road.muscles[m].shortestTurn ? " (shortest turn)" : ""),
                        colour, 12, "bold"});
    }
    placeLabels(svg, ends, area.labelPanel(), {}, 15);
}

}  // namespace sinewrig_tool
