#include "tools/sinewrig/run/picture/picture.h"

#include "tools/sinewrig/run/picture/canvas.h"
#include "tools/sinewrig/run/picture/charts.h"
#include "tools/sinewrig/run/picture/views.h"

namespace sinewrig_tool {

namespace {

constexpr double kTitleHeight = 50;

}  // namespace

std::string rigSvg(const std::string& title, const RoadResult& road) {
    Svg svg;
    const double height = kTitleHeight + 2 * kViewHeight + kLengthChartHeight + kSpinChartHeight + 10;
    svg.add("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    svg.add("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(kWidth) + "\" height=\"" + num(height) +
            "\" viewBox=\"0 0 " + num(kWidth) + " " + num(height) + "\" font-family=\"DejaVu Sans, Arial, sans-serif\">");
    svg.add("<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>");
    svg.label(kMargin, 32, title, "#222222", 18, "start", "bold");
    svg.label(kWidth - kMargin, 22, "grey: bones   circle and cross: targets", "#555555", 11, "end");
    svg.label(kWidth - kMargin, 38,
              "muscle bones: item colour, own colour down the middle, a tick along own +Y, an ellipse of x and y scale",
              "#555555", 11, "end");
    drawViews(svg, road, kTitleHeight);
    drawLengthChart(svg, road, kTitleHeight + 2 * kViewHeight);
    drawSpinChart(svg, road, kTitleHeight + 2 * kViewHeight + kLengthChartHeight);
    svg.add("</svg>");
    return svg.text;
}

}  // namespace sinewrig_tool
