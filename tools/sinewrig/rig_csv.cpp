#include "tools/sinewrig/rig_csv.h"

#include <cstdio>

namespace sinewrig_tool {

namespace {

constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;

// Names are quoted, with quotes doubled, so that commas in them stay in their cell.
std::string cell(const std::string& text) {
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

}  // namespace

std::string muscleChannelsCsv(const RoadResult& road) {
    std::string csv = "frame,time (s),bone,heading (deg),pitch (deg),bank (deg),scale x,scale y,scale z\n";
    char row[512];
    for (const FrameSample& frame : road.frames)
        for (std::size_t m = 0; m < frame.muscles.size(); ++m) {
            const Channels& c = frame.muscles[m];
            std::snprintf(row, sizeof row, "%d,%.10g,%s,%.10g,%.10g,%.10g,%.10g,%.10g,%.10g\n", frame.frame, frame.time,
                          cell(road.muscles[m].name).c_str(), c[0] * kDegreesPerRadian, c[1] * kDegreesPerRadian,
                          c[2] * kDegreesPerRadian, c[3], c[4], c[5]);
            csv += row;
        }
    return csv;
}

}  // namespace sinewrig_tool
