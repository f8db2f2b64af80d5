#include "tools/sinewrig/run/channels_csv.h"

#include <cstdio>

#include "tools/sinewrig/common/angles.h"

namespace sinewrig_tool {

namespace {

// Names are quoted, with quotes doubled, so that commas in them stay in their cell.
std::string cell(const std::string& text) {
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

}  // namespace

std::string muscleChannelsCsvHeader() {
    return "frame,time (s),bone,heading (deg),pitch (deg),bank (deg),scale x,scale y,scale z\n";
}

void appendMuscleChannelsCsv(std::string& csv, const std::vector<MuscleBone>& muscles, const FrameSample& frame) {
    // The name goes in whole, outside the fixed buffers: names have no length limit.
    char when[64], values[256];
    std::snprintf(when, sizeof when, "%d,%.10g,", frame.frame, frame.time);
    for (std::size_t m = 0; m < frame.muscles.size() && m < muscles.size(); ++m) {
        const Channels& c = frame.muscles[m];
        std::snprintf(values, sizeof values, ",%.10g,%.10g,%.10g,%.10g,%.10g,%.10g\n", degrees(c[0]),
                      degrees(c[1]), degrees(c[2]), c[3], c[4], c[5]);
        csv += when;
        csv += cell(muscles[m].name);
        csv += values;
    }
}

}  // namespace sinewrig_tool
