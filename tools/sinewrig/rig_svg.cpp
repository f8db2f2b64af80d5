#include "tools/sinewrig/rig_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <vector>

namespace sinewrig_tool {

namespace {

constexpr double kWidth = 1200, kMargin = 50, kViewHeight = 240, kPlotHeight = 320, kTitleHeight = 50;

// The host's item colours, by ItemColor number; the light ones darkened to show on white.
constexpr const char* kItemColours[] = {"#000000", "#000080", "#007000", "#007070", "#900000",
                                        "#800080", "#806000", "#707070", "#0000e0", "#00a000",
                                        "#00a0a0", "#e00000", "#d000d0", "#e07000", "#b0b0b0"};
constexpr const char* kBoneColour = "#8a8a8a";
constexpr const char* kDashes[] = {"", "9 4", "3 3", "12 3 3 3", "6 6", "1 4"};

std::string colourOf(int colour) {
    return colour >= 0 && colour < int(std::size(kItemColours)) ? kItemColours[colour] : "#c03000";
}

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

struct Extent {
    double low = std::numeric_limits<double>::infinity(), high = -std::numeric_limits<double>::infinity();
    void add(double v) {
        if (!std::isfinite(v)) return;
        low = std::min(low, v);
        high = std::max(high, v);
    }
    bool empty() const { return low > high; }
    double span() const { return empty() ? 1.0 : std::max(high - low, 1e-9); }
    double middle() const { return empty() ? 0.0 : (low + high) / 2; }
};

// One orthographic view: the world axis drawn to the right, and Y up.
struct View {
    const char* name;
    int across;  // 0: X (front), 2: Z (side)
    const char* axis;
};
constexpr View kViews[] = {{"front", 0, "X"}, {"side", 2, "Z"}};

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

// Labels that want to sit near a point, moved apart vertically so that none
// covers another: sorted by height, each at least a line below the one above.
struct Label {
    double x, y;
    std::string text, colour;
    int size;
    const char* weight;
    std::optional<std::string> dash;  // drawn as a short sample of the line before the text
};

void placeLabels(Svg& svg, std::vector<Label> labels, double lineHeight) {
    std::stable_sort(labels.begin(), labels.end(), [](const Label& a, const Label& b) { return a.y < b.y; });
    for (std::size_t i = 1; i < labels.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (std::abs(labels[i].x - labels[j].x) < 90 && labels[i].y < labels[j].y + lineHeight)
                labels[i].y = labels[j].y + lineHeight;
    for (const Label& l : labels) {
        double x = l.x;
        if (l.dash) {
            svg.line(x, l.y - 4, x + 22, l.y - 4, l.colour, 2.5, l.dash->empty() ? "" : " stroke-dasharray=\"" + *l.dash + "\"");
            x += 28;
        }
        svg.label(x, l.y, l.text, l.colour, l.size, "start", l.weight);
    }
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
    // One scale for every cell of both views, so lengths compare across them.
    const double inner = 0.8;
    const double scale = std::min({cellWidth * inner / extent[0].span(), cellWidth * inner / extent[2].span(),
                                   (kViewHeight - 40) * inner / extent[1].span()});

    for (std::size_t row = 0; row < 2; ++row) {
        const View& view = kViews[row];
        const double y0 = top + row * kViewHeight;
        svg.add("<text x=\"" + num(kMargin - 14) + "\" y=\"" + num(y0 + kViewHeight / 2) +
                "\" font-size=\"13\" font-weight=\"bold\" fill=\"#333333\" text-anchor=\"middle\" transform=\"rotate(-90 " +
                num(kMargin - 14) + " " + num(y0 + kViewHeight / 2) + ")\">" + view.name + " (" + view.axis +
                " right, Y up)</text>");
        for (std::size_t cell = 0; cell < road.poses.size(); ++cell) {
            const PoseSample& pose = road.poses[cell];
            const double x0 = kMargin + cell * cellWidth, centreX = x0 + cellWidth / 2, centreY = y0 + 20 + (kViewHeight - 40) / 2;
            auto sx = [&](const host::Vector3& p) { return centreX + (p[view.across] - extent[view.across].middle()) * scale; };
            auto sy = [&](const host::Vector3& p) { return centreY - (p[1] - extent[1].middle()) * scale; };
            svg.add("<rect x=\"" + num(x0 + 4) + "\" y=\"" + num(y0 + 4) + "\" width=\"" + num(cellWidth - 8) +
                    "\" height=\"" + num(kViewHeight - 8) + "\" fill=\"#fafaf7\" stroke=\"#dddddd\"/>");
            svg.label(x0 + 12, y0 + 22, "frame " + std::to_string(pose.frame), "#333333", 13, "start", "bold");
            std::vector<Label> labels;
            for (const BonePose& bone : pose.bones) {
                if (bone.muscle) continue;
                svg.line(sx(bone.pivot), sy(bone.pivot), sx(bone.tip), sy(bone.tip), kBoneColour, 4);
                svg.add("<circle cx=\"" + num(sx(bone.pivot)) + "\" cy=\"" + num(sy(bone.pivot)) +
                        "\" r=\"3\" fill=\"" + kBoneColour + "\"/>");
                if (cell == 0)
                    labels.push_back({std::max(sx(bone.pivot), sx(bone.tip)) + 6, (sy(bone.pivot) + sy(bone.tip)) / 2 + 4,
                                      bone.name, "#666666", 11, "normal"});
            }
            for (const BonePose& bone : pose.bones) {
                if (!bone.muscle) continue;
                const std::string colour = colourOf(bone.colour);
                const double width = std::clamp(6 * std::abs(bone.thickness), 2.0, 18.0);
                svg.line(sx(bone.pivot), sy(bone.pivot), sx(bone.tip), sy(bone.tip), colour, width, " stroke-opacity=\"0.85\"");
                if (bone.target) {
                    const double tx = sx(*bone.target), ty = sy(*bone.target);
                    svg.add("<circle cx=\"" + num(tx) + "\" cy=\"" + num(ty) + "\" r=\"7\" fill=\"none\" stroke=\"" +
                            colour + "\" stroke-width=\"1.5\"/>");
                    svg.line(tx - 10, ty, tx + 10, ty, colour, 1);
                    svg.line(tx, ty - 10, tx, ty + 10, colour, 1);
                }
                labels.push_back({sx(bone.tip) + 10, sy(bone.tip) + 4, bone.name, colour, 11, "bold"});
            }
            placeLabels(svg, labels, 13);
        }
    }
}

void drawPlot(Svg& svg, const RoadResult& road, double top) {
    const double left = kMargin + 50, right = kWidth - kMargin - 170, plotTop = top + 40, bottom = top + kPlotHeight - 40;
    svg.label(left, top + 22, "Length scale of each muscle over the frames (1 = its rest length)", "#333333", 14,
              "start", "bold");
    Extent frames, scales;
    scales.add(1.0);
    for (const FrameSample& frame : road.frames) {
        frames.add(frame.frame);
        for (const Channels& c : frame.muscles) scales.add(c[5]);
    }
    if (frames.empty()) frames.add(0);
    // Ticks at round steps of 1, 2 or 5 times a power of ten, the range widened to whole steps.
    const double rough = scales.span() / 4;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    const double step = rough / power <= 1 ? power : rough / power <= 2 ? 2 * power : rough / power <= 5 ? 5 * power : 10 * power;
    scales.low = std::floor(scales.low / step - 0.25) * step;
    scales.high = std::ceil(scales.high / step + 0.25) * step;
    const int ticks = int(std::lround((scales.high - scales.low) / step));
    auto px = [&](double frame) {
        return frames.high == frames.low ? (left + right) / 2 : left + (frame - frames.low) / (frames.high - frames.low) * (right - left);
    };
    auto py = [&](double s) { return bottom - (s - scales.low) / (scales.high - scales.low) * (bottom - plotTop); };

    svg.add("<rect x=\"" + num(left) + "\" y=\"" + num(plotTop) + "\" width=\"" + num(right - left) + "\" height=\"" +
            num(bottom - plotTop) + "\" fill=\"#fafaf7\" stroke=\"#bbbbbb\"/>");
    for (int tick = 0; tick <= ticks; ++tick) {
        const double s = scales.low + step * tick, y = py(s);
        svg.line(left, y, right, y, "#e4e4e4", 1);
        svg.label(left - 8, y + 4, label(std::abs(s) < step / 1000 ? 0.0 : s), "#555555", 11, "end");
    }
    for (int tick = 0; tick <= 4; ++tick) {
        const double f = frames.low + (frames.high - frames.low) * tick / 4, x = px(f);
        svg.line(x, bottom, x, bottom + 5, "#555555", 1);
        svg.label(x, bottom + 18, label(std::round(f)), "#555555", 11, "middle");
    }
    svg.label((left + right) / 2, bottom + 34, "frame", "#555555", 12, "middle");
    svg.line(left, py(1.0), right, py(1.0), "#999999", 1, " stroke-dasharray=\"4 4\"");
    svg.label(right - 6, py(1.0) - 5, "rest length", "#999999", 11, "end");

    std::vector<Label> ends;
    for (std::size_t m = 0; m < road.muscles.size(); ++m) {
        const std::string colour = colourOf(road.muscles[m].colour);
        std::string points;
        for (const FrameSample& frame : road.frames)
            if (m < frame.muscles.size()) points += num(px(frame.frame)) + "," + num(py(frame.muscles[m][5])) + " ";
        const std::string dash = kDashes[m % std::size(kDashes)];
        svg.add("<polyline fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"2.5\" points=\"" + points + "\"" +
                (dash.empty() ? "" : " stroke-dasharray=\"" + dash + "\"") + "/>");
        if (!road.frames.empty() && m < road.frames.back().muscles.size()) {
            const double last = road.frames.back().muscles[m][5];
            ends.push_back({right + 8, py(last) + 4, road.muscles[m].name + " " + label(last), colour, 12, "bold", dash});
        }
    }
    placeLabels(svg, ends, 15);
}

}  // namespace

std::string rigSvg(const std::string& title, const RoadResult& road) {
    Svg svg;
    const double height = kTitleHeight + 2 * kViewHeight + kPlotHeight + 10;
    svg.add("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    svg.add("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(kWidth) + "\" height=\"" + num(height) +
            "\" viewBox=\"0 0 " + num(kWidth) + " " + num(height) + "\" font-family=\"DejaVu Sans, Arial, sans-serif\">");
    svg.add("<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>");
    svg.label(kMargin, 32, title, "#222222", 18, "start", "bold");
    svg.label(kWidth - kMargin, 32, "grey: bones   colour: muscle bones   circle and cross: muscle targets", "#555555",
              12, "end");
    drawViews(svg, road, kTitleHeight);
    drawPlot(svg, road, kTitleHeight + 2 * kViewHeight);
    svg.add("</svg>");
    return svg.text;
}

}  // namespace sinewrig_tool
