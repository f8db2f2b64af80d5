// The picture's canvas: an SVG document written as text, its numbers, its
// labels placed so they stay off the marks and each other, and the colours
// muscles are told apart by.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace sinewrig_tool {

// The picture's width and the margin left of and right of everything in it.
constexpr double kWidth = 1200, kMargin = 50;

// A muscle's own colour, by its index among the muscles.
std::string muscleColour(std::size_t muscle);

// Text as SVG text holds it: markup escaped, control characters left out.
std::string escaped(const std::string& text);
// A coordinate, with two decimals; 0 for one that is not finite.
std::string num(double value);
// A value as a label gives it: three significant digits.
std::string label(double value);
// Roughly how wide a label is drawn: UTF-8 continuation bytes take no room.
double textWidth(const std::string& text, int size);

// The smallest and largest of the finite values added.
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

// The document, an element a line.
class Svg {
public:
    std::string text;
    void add(const std::string& element) { text += element + "\n"; }
    // `extra`: more attributes, written as they are.
    void line(double x1, double y1, double x2, double y2, const std::string& colour, double width,
              const std::string& extra = "");
    void label(double x, double y, const std::string& words, const std::string& colour, int size,
               const char* anchor = "start", const char* weight = "normal");
};

struct Box {
    double left, top, right, bottom;
    bool overlaps(const Box& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
};

// A label that wants to sit near a point.
struct Label {
    double x, y;
    std::string text, colour;
    int size;
    const char* weight;
};

// Labels kept inside their panel and off the marks `taken` and each other:
// each moved down (then up) a line at a time until free, and left out when
// the panel has no free place.
void placeLabels(Svg& svg, std::vector<Label> labels, const Box& panel, std::vector<Box> taken, double lineHeight);

}  // namespace sinewrig_tool
