#include "tools/sinewrig/run/picture/canvas.h"

#include <cstdio>
#include <iterator>

namespace sinewrig_tool {

namespace {

// One colour per muscle, told apart on white and from each other; past a
// dozen they repeat, but then only a dozen muscles are labelled.
constexpr const char* kMuscleColours[] = {"#e6194b", "#3cb44b", "#4363d8", "#f58231", "#911eb4", "#42b4b4",
                                          "#f032e6", "#9a6324", "#800000", "#808000", "#000075", "#d4a017"};

}  // namespace

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

double textWidth(const std::string& text, int size) {
    std::size_t glyphs = 0;
    for (unsigned char c : text) glyphs += (c & 0xC0) != 0x80;
    return 0.62 * size * double(glyphs);
}

void Svg::line(double x1, double y1, double x2, double y2, const std::string& colour, double width,
               const std::string& extra) {
    add("<line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2) + "\" y2=\"" + num(y2) +
        "\" stroke=\"" + colour + "\" stroke-width=\"" + num(width) + "\" stroke-linecap=\"round\"" + extra + "/>");
}

void Svg::label(double x, double y, const std::string& words, const std::string& colour, int size, const char* anchor,
                const char* weight) {
    add("<text x=\"" + num(x) + "\" y=\"" + num(y) + "\" fill=\"" + colour + "\" font-size=\"" +
        std::to_string(size) + "\" text-anchor=\"" + anchor + "\" font-weight=\"" + weight + "\">" +
        escaped(words) + "</text>");
}

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


}  // namespace sinewrig_tool
