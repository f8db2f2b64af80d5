#include "tools/sinewrig/run/picture/views.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <map>
#include <numbers>
#include <unordered_map>

namespace sinewrig_tool {

namespace {

// The host's item colours, by ItemColor number; the light ones darkened to show on white.
constexpr const char* kItemColours[] = {"#000000", "#000080", "#007000", "#007070", "#900000",
                                        "#800080", "#806000", "#707070", "#0000e0", "#00a000",
                                        "#00a0a0", "#e00000", "#d000d0", "#e07000", "#b0b0b0"};
constexpr const char* kBoneColour = "#8a8a8a";
constexpr std::size_t kMostLabelled = 12;
// Past this many bones a view draws thin lines, no pivots, and targets only of labelled muscles.
constexpr std::size_t kMostMarked = 200;

std::string colourOf(int colour) {
    return colour >= 0 && colour < int(std::size(kItemColours)) ? kItemColours[colour] : "#c03000";
}

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

host::Vector3 middleOf(const BonePose& bone) {
    return {(bone.pivot[0] + bone.tip[0]) / 2, (bone.pivot[1] + bone.tip[1]) / 2, (bone.pivot[2] + bone.tip[2]) / 2};
}

// A muscle's thickness: the ellipse across its middle spanned by its own +X
// and +Y, each kSectionRadius pixels times its scale on that axis, as the view
// sees it; a circle seen face on at rest, a line seen edge on.
constexpr double kSectionRadius = 8, kSectionScaleDrawn = 4;
constexpr int kSectionPoints = 24;

std::string crossSection(const BonePose& bone, double x, double y, const View& view, const std::string& colour) {
    const double across = kSectionRadius * std::clamp(std::abs(bone.thickness), 0.0, kSectionScaleDrawn);
    const double upward = kSectionRadius * std::clamp(std::abs(bone.thicknessY), 0.0, kSectionScaleDrawn);
    std::string path;
    for (int i = 0; i < kSectionPoints; ++i) {
        const double turn = 2 * std::numbers::pi * i / kSectionPoints, c = std::cos(turn), s = std::sin(turn);
        const double px = x + c * across * bone.side[view.across] + s * upward * bone.up[view.across];
        const double py = y - c * across * bone.side[view.up] - s * upward * bone.up[view.up];
        path += (i == 0 ? "M" : "L") + num(px) + " " + num(py);
    }
    return "<path d=\"" + path + "Z\" fill=\"" + colour + "\" fill-opacity=\"0.2\" stroke=\"" + colour +
           "\" stroke-width=\"1.2\"/>";
}

}  // namespace

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
            if (!many)
                for (const auto& [bone, m] : muscleBones)
                    svg.add(crossSection(*bone, sx(middleOf(*bone)), sy(middleOf(*bone)), view, muscleColour(m)));
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

}  // namespace sinewrig_tool
