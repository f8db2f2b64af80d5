#include "tools/sinewrig/run/table_text.h"

#include <cstdio>

#include "tools/sinewrig/common/angles.h"
#include "tools/sinewrig/common/display_width.h"

namespace sinewrig_tool {

std::string tableHeader(std::size_t width) {
    char line[512];
    std::snprintf(line, sizeof line, "  %9s %9s %9s  %8s %8s %8s\n", "heading", "pitch", "bank", "scale x", "scale y",
                  "scale z");
    return " frame  " + padToWidth("bone", width) + line;
}

void appendTableRows(std::string& out, std::size_t width, const std::vector<MuscleBone>& muscles,
                     const FrameSample& frame) {
    char line[512];
    for (std::size_t m = 0; m < frame.muscles.size() && m < muscles.size(); ++m) {
        const Channels& c = frame.muscles[m];
        std::snprintf(line, sizeof line, "%6d  ", frame.frame);
        out += line;
        out += padToWidth(muscles[m].name, width);
        std::snprintf(line, sizeof line, "  %8.3f° %8.3f° %8.3f°  %8.4f %8.4f %8.4f\n", degrees(c[0]), degrees(c[1]),
                      degrees(c[2]), c[3], c[4], c[5]);
        out += line;
    }
}

}  // namespace sinewrig_tool
