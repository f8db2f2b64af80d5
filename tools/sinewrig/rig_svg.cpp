#include "tools/sinewrig/rig_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include "tools/sinewrig/road/spin.h"

namespace sinewrig_tool {

namespace {

constexpr double kWidth = 1200, kMargin = 50, kViewHeight = 240, kPlotHeight = 320, kSpinPlotHeight = 260,
                 kTitleHeight = 50;

// The host's item colours, by ItemColor number; the light ones darkened to show on white.
constexpr const char* kItemColours[] = {"#000000", "#000080", "#007000", "#007070", "#900000",
                                        "#800080", "#806000", "#707070", "#0000e0", "#00a000",
                                        "#00a0a0", "#e00000", "#d000d0", "#e07000", "#b0b0b0"};
constexpr const char* kBoneColour = "#8a8a8a";
// One colour per muscle, told apart on white and from each other; past a
// dozen they repeat, but then only a dozen muscles are labelled.
constexpr const char* kMuscleColours[] = {"#e6194b", "#3cb44b", "#4363d8", "#f58231", "#911eb4", "#42b4b4",
                                          "#f032e6", "#9a6324", "#800000", "#808000", "#000075", "#d4a017"};
constexpr std::size_t kMostLabelled = 12;
// Past this many bones a view draws thin lines, no pivots, and targets only of labelled muscles.
constexpr std::size_t kMostMarked = 200;

std::string colourOf(int colour) {
    return colour >= 0 && colour < int(std::size(kItemColours)) ? kItemColours[colour] : "#c03000";
}

std::string muscleColour(std::size_t muscle) { return kMuscleColours[muscle % std::size(kMuscleColours)]; }

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default:
                // Control characters are not allowed in XML 1.0 text.
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') out += c;
        }
    }
    return out;
}

std::string num(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", std::isfinite(value) ? value : 0.0);
    return text;
}

std::string label(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
}

// Roughly how wide a label is drawn: UTF-8 continuation bytes take no room.
double textWidth(const std::string& text, int size) {
    std::size_t glyphs = 0;
    for (unsigned char c : text) glyphs += (c & 0xC0) != 0x80;
    return 0.62 * size * double(glyphs);
}

struct Extent {
    double low = std::numeric_limits<double>::infinity(), high = -std::numeric_limits<double>::infinity();
    void add(double v) {
        if (!std::isfinite(v)) return;
        low = std::min(low, v);
        high = std::max(high, v);
    }
    bool empty() const { return low > high; }
    double span() const { return empty() ? 1.0 : std::max(high - low, 1e-9); }
    double size() const { return empty() ? 0.0 : high - low; }
    double middle() const { return empty() ? 0.0 : (low + high) / 2; }
};

// One orthographic view: a world axis drawn to the right, another up.
struct View {
    int order;
    const char* name;
    int across, up;
    const char* axes;
};
constexpr View kViews[] = {
    {0, "front", 0, 1, "X right, Y up"}, {1, "side", 2, 1, "Z right, Y up"}, {2, "top", 0, 2, "X right, Z up"}};

// The two views in which the rig spreads widest: a rig lying in one plane is
// never shown edge on, as a line.
std::vector<View> bestViews(const Extent extent[3]) {
    std::vector<View> views(std::begin(kViews), std::end(kViews));
    auto area = [&](const View& v) {
        const double largest = std::max({extent[0].size(), extent[1].size(), extent[2].size(), 1e-12});
        // A flat view still ranks by its one long side, well below any with two.
        return std::max(extent[v.across].size(), 1e-6 * largest) * std::max(extent[v.up].size(), 1e-6 * largest);
    };
    std::stable_sort(views.begin(), views.end(), [&](const View& a, const View& b) { return area(a) > area(b) * 1.0001; });
    views.resize(2);
    std::sort(views.begin(), views.end(), [](const View& a, const View& b) { return a.order < b.order; });
    return views;
}

class Svg {
public:
    std::string text;
    void add(const std::string& element) { text += element + "\n"; }
    void line(double x1, double y1, double x2, double y2, const std::string& colour, double width,
              const std::string& extra = "") {
        add("<line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2) + "\" y2=\"" + num(y2) +
            "\" stroke=\"" + colour + "\" stroke-width=\"" + num(width) + "\" stroke-linecap=\"round\"" + extra + "/>");
    }
    void label(double x, double y, const std::string& words, const std::string& colour, int size,
               const char* anchor = "start", const char* weight = "normal") {
        add("<text x=\"" + num(x) + "\" y=\"" + num(y) + "\" fill=\"" + colour + "\" font-size=\"" +
            std::to_string(size) + "\" text-anchor=\"" + anchor + "\" font-weight=\"" + weight + "\">" +
            escaped(words) + "</text>");
    }
};

struct Box {
    double left, top, right, bottom;
    bool overlaps(const Box& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
};

// Labels that want to sit near a point, kept inside their panel and off the
// marks and each other: each moved down (then up) a line at a time until free.
struct Label {
    double x, y;
    std::string text, colour;
    int size;
    const char* weight;
};

void placeLabels(Svg& svg, std::vector<Label> labels, const Box& panel, std::vector<Box> taken, double lineHeight) {
    std::stable_sort(labels.begin(), labels.end(), [](const Label& a, const Label& b) { return a.y < b.y; });
    for (Label& l : labels) {
        const double width = textWidth(l.text, l.size);
        const double x = std::clamp(l.x, panel.left + 4, std::max(panel.left + 4, panel.right - 4 - width));
        auto boxAt = [&](double y) { return Box{x, y - l.size, x + width, y + 3}; };
        auto fits = [&](double y) {
            const Box box = boxAt(y);
            if (box.top < panel.top || box.bottom > panel.bottom) return false;
            return std::none_of(taken.begin(), taken.end(), [&](const Box& t) { return t.overlaps(box); });
        };
        double y = std::clamp(l.y, panel.top + l.size, panel.bottom - 3);
        const double wanted = y;
        for (int tries = 1; !fits(y) && tries < 60; ++tries)
            y = wanted + lineHeight * (tries % 2 ? (tries + 1) / 2 : -(tries / 2));
        if (!fits(y)) continue;  // no free place in the panel: left out rather than drawn over another
        taken.push_back(boxAt(y));
        svg.label(x, y, l.text, l.colour, l.size, "start", l.weight);
    }
}

// The muscles that get labels: all of a small rig; of a large one the two
// with the extreme length scales and others spread through the list.
std::vector<bool> labelledMuscles(const RoadResult& road) {
    const std::size_t count = road.muscles.size();
    std::vector<bool> labelled(count, count <= kMostLabelled);
    if (count <= kMostLabelled) return labelled;
    labelled[road.plot.lowest] = labelled[road.plot.highest] = true;
    for (std::size_t i = 0; i < kMostLabelled - 2; ++i) labelled[i * count / (kMostLabelled - 2)] = true;
    return labelled;
}

void drawViews(Svg& svg, const RoadResult& road, double top) {
    const std::size_t cells = std::max<std::size_t>(road.poses.size(), 1);
    const double cellWidth = (kWidth - 2 * kMargin) / double(cells);
    Extent extent[3];
    for (const PoseSample& pose : road.poses)
        for (const BonePose& bone : pose.bones)
            for (int axis = 0; axis < 3; ++axis) {
                extent[axis].add(bone.pivot[axis]);
                extent[axis].add(bone.tip[axis]);
                if (bone.target) extent[axis].add((*bone.target)[axis]);
            }
    const std::vector<View> views = bestViews(extent);
    // One scale for every cell of both views, so lengths compare across them.
    const double inner = 0.8;
    double scale = std::numeric_limits<double>::infinity();
    for (const View& view : views)
        scale = std::min({scale, cellWidth * inner / extent[view.across].span(), (kViewHeight - 40) * inner / extent[view.up].span()});

    std::unordered_map<std::string, std::size_t> muscleIndex;
    for (std::size_t m = 0; m < road.muscles.size(); ++m) muscleIndex.emplace(road.muscles[m].name, m);
    const std::vector<bool> labelled = labelledMuscles(road);
    std::size_t plainBones = 0;
    if (!road.poses.empty())
        for (const BonePose& bone : road.poses[0].bones) plainBones += !bone.muscle;

    for (std::size_t row = 0; row < views.size(); ++row) {
        const View& view = views[row];
        const double y0 = top + row * kViewHeight;
        svg.add("<text x=\"" + num(kMargin - 14) + "\" y=\"" + num(y0 + kViewHeight / 2) +
                "\" font-size=\"13\" font-weight=\"bold\" fill=\"#333333\" text-anchor=\"middle\" transform=\"rotate(-90 " +
                num(kMargin - 14) + " " + num(y0 + kViewHeight / 2) + ")\">" + view.name + " (" + view.axes + ")</text>");
        for (std::size_t cell = 0; cell < road.poses.size(); ++cell) {
            const PoseSample& pose = road.poses[cell];
            const double x0 = kMargin + cell * cellWidth, centreX = x0 + cellWidth / 2, centreY = y0 + 20 + (kViewHeight - 40) / 2;
            auto sx = [&](const host::Vector3& p) { return centreX + (p[view.across] - extent[view.across].middle()) * scale; };
            auto sy = [&](const host::Vector3& p) { return centreY - (p[view.up] - extent[view.up].middle()) * scale; };
            const Box panel{x0 + 4, y0 + 4, x0 + cellWidth - 4, y0 + kViewHeight - 4};
            svg.add("<rect x=\"" + num(panel.left) + "\" y=\"" + num(panel.top) + "\" width=\"" + num(cellWidth - 8) +
                    "\" height=\"" + num(kViewHeight - 8) + "\" fill=\"#fafaf7\" stroke=\"#dddddd\"/>");
            const std::string heading = "frame " + std::to_string(pose.frame);
            svg.label(x0 + 12, y0 + 22, heading, "#333333", 13, "start", "bold");
            std::vector<Box> taken{{x0 + 12, y0 + 9, x0 + 12 + textWidth(heading, 13), y0 + 25}};
            std::vector<Label> labels;
            // Segments of one colour and width go into one path: a rig of
            // thousands of bones stays a picture of a few megabytes.
            std::map<std::pair<std::string, std::string>, std::string> strokes;
            auto segment = [&](const BonePose& bone, const std::string& colour, double width) {
                strokes[{colour, num(std::round(width * 2) / 2)}] += "M" + num(sx(bone.pivot)) + " " + num(sy(bone.pivot)) +
                                                                   "L" + num(sx(bone.tip)) + " " + num(sy(bone.tip));
            };
            const bool many = pose.bones.size() > kMostMarked;
            for (const BonePose& bone : pose.bones) {
                if (bone.muscle) continue;
                segment(bone, kBoneColour, many ? 2 : 4);
                if (!many)
                    svg.add("<circle cx=\"" + num(sx(bone.pivot)) + "\" cy=\"" + num(sy(bone.pivot)) + "\" r=\"3\" fill=\"" +
                            kBoneColour + "\"/>");
                if (cell == 0 && plainBones <= kMostLabelled)
                    labels.push_back({std::max(sx(bone.pivot), sx(bone.tip)) + 6, (sy(bone.pivot) + sy(bone.tip)) / 2 + 4,
                                      bone.name, "#666666", 11, "normal"});
            }
            std::vector<std::pair<const BonePose*, std::size_t>> muscleBones;
            for (const BonePose& bone : pose.bones) {
                if (!bone.muscle) continue;
                const auto found = muscleIndex.find(bone.name);
                const std::size_t m = found == muscleIndex.end() ? 0 : found->second;
                muscleBones.push_back({&bone, m});
                const double width = many ? 2.0 : std::clamp(6 * std::abs(bone.thickness), 2.0, 18.0);
                // The bone in its item colour, as Layout draws it, with the muscle's own colour down its middle.
                segment(bone, colourOf(bone.colour), width);
            }
            for (const auto& [bone, m] : muscleBones)
                if (!many || (m < labelled.size() && labelled[m]))
                    segment(*bone, muscleColour(m), many ? 1.0 : std::max(1.5, std::clamp(6 * std::abs(bone->thickness), 2.0, 18.0) / 3));
            for (const auto& [key, path] : strokes)
                svg.add("<path d=\"" + path + "\" stroke=\"" + key.first + "\" stroke-width=\"" + key.second +
                        "\" stroke-linecap=\"round\" fill=\"none\"/>");
            // A tick along the muscle bone's own +Y from its middle shows how it is rolled about its length.
            if (!many)
                for (const auto& [bone, m] : muscleBones) {
                    const double reach = 0.3 * std::hypot(bone->tip[0] - bone->pivot[0], bone->tip[1] - bone->pivot[1],
                                                          bone->tip[2] - bone->pivot[2]);
                    host::Vector3 middle, end;
                    for (int axis = 0; axis < 3; ++axis) {
                        middle[axis] = (bone->pivot[axis] + bone->tip[axis]) / 2;
                        end[axis] = middle[axis] + reach * bone->up[axis];
                    }
                    svg.line(sx(middle), sy(middle), sx(end), sy(end), muscleColour(m), 2);
                }
            for (const auto& [bone, m] : muscleBones) {
                const bool named = m < labelled.size() && labelled[m];
                const std::string colour = muscleColour(m);
                if (bone->target && (!many || named)) {
                    const double tx = sx(*bone->target), ty = sy(*bone->target);
                    svg.add("<circle cx=\"" + num(tx) + "\" cy=\"" + num(ty) + "\" r=\"7\" fill=\"none\" stroke=\"" +
                            colour + "\" stroke-width=\"1.5\"/>");
                    svg.line(tx - 10, ty, tx + 10, ty, colour, 1);
                    svg.line(tx, ty - 10, tx, ty + 10, colour, 1);
                    taken.push_back({tx - 11, ty - 11, tx + 11, ty + 11});
                }
                if (named) labels.push_back({sx(bone->tip) + 10, sy(bone->tip) + 4, bone->name, colour, 11, "bold"});
            }
            placeLabels(svg, labels, panel, taken, 13);
        }
    }
}

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

void drawLengthPlot(Svg& svg, const RoadResult& road, double top) {
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
    const PlotArea area = drawPlotArea(svg, top, kPlotHeight,
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
        if (!plot.series[m].empty()) {
            const double last = plot.series[m].back();
            ends.push_back({area.right + 8, area.py(last) + 4, road.muscles[m].name + " " + label(last), colour, 12, "bold"});
        }
    }
    placeLabels(svg, ends, area.labelPanel(), {}, 15);
}

// How far each muscle spins about its own length axis from frame to frame,
// with the spin above which the report names a muscle.
void drawSpinPlot(Svg& svg, const RoadResult& road, double top) {
    const SpinPlot& spins = road.spins;
    const std::vector<int>& frameList = road.plot.frames;
    const bool band = spins.series.empty() && !frameList.empty();
    Extent frames, degrees;
    degrees.add(0.0);
    degrees.add(kSpinWorthNaming);
    for (int frame : frameList) frames.add(frame);
    for (double d : spins.high) degrees.add(d);
    const PlotArea area = drawPlotArea(svg, top, kSpinPlotHeight,
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

}  // namespace

std::string rigSvg(const std::string& title, const RoadResult& road) {
    Svg svg;
    const double height = kTitleHeight + 2 * kViewHeight + kPlotHeight + kSpinPlotHeight + 10;
    svg.add("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    svg.add("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(kWidth) + "\" height=\"" + num(height) +
            "\" viewBox=\"0 0 " + num(kWidth) + " " + num(height) + "\" font-family=\"DejaVu Sans, Arial, sans-serif\">");
    svg.add("<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>");
    svg.label(kMargin, 32, title, "#222222", 18, "start", "bold");
    svg.label(kWidth - kMargin, 22, "grey: bones   circle and cross: targets", "#555555", 11, "end");
    svg.label(kWidth - kMargin, 38,
              "muscle bones: their item colour, a colour of their own down the middle, a tick along their own +Y",
              "#555555", 11, "end");
    drawViews(svg, road, kTitleHeight);
    drawLengthPlot(svg, road, kTitleHeight + 2 * kViewHeight);
    drawSpinPlot(svg, road, kTitleHeight + 2 * kViewHeight + kPlotHeight);
    svg.add("</svg>");
    return svg.text;
}

}  // namespace sinewrig_tool
