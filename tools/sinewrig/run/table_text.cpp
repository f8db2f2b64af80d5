#include "tools/sinewrig/run/table_text.h"

#include <cstdio>

#include "tools/sinewrig/common/angles.h"

namespace sinewrig_tool {

std::string tableHeader(std::size_t width) {
    char line[512];
    std::snprintf(line, sizeof line, "%6s  %-*s  %9s %9s %9s  %8s %8s %8s\n", "frame", int(width), "bone", "heading",
                  "pitch", "bank", "scale x", "scale y", "scale z");
    return line;
}

void appendTableRows(std::string& out, std::size_t width, const std::vector<MuscleBone>& muscles,
                     const FrameSample& frame) {
    char line[512];
    for (std::size_t m = 0; m < frame.muscles.size() && m < muscles.size(); ++m) {
        const Channels& c = frame.muscles[m];
        std::snprintf(line, sizeof line, "%6d  %-*s  %8.3f° %8.3f° %8.3f°  %8.4f %8.4f %8.4f\n", frame.frame, int(width),
                      muscles[m].name.c_str(), degrees(c[0]), degrees(c[1]), degrees(c[2]), c[3], c[4], c[5]);
        out += line;
    }
}

}  // namespace sinewrig_tool
