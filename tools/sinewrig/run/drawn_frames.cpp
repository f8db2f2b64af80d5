#include "tools/sinewrig/run/drawn_frames.h"

#include <algorithm>

#include "tools/sinewrig/rig/rig_file.h"

namespace sinewrig_tool {

namespace {

// One entry of the list: a range, or a single frame read as the range of it alone.
bool parseEntry(const std::string& entry, FrameRange& range, std::string& error) {
    if (entry.find(':') != std::string::npos) return parseFrameRange(entry, range, error);
    if (parseFrameRange(entry + ":" + entry, range, error)) return true;
    error = "\"" + entry + "\" is not a whole frame number from -1000000000 to 1000000000 (want FRAME or START:END[:STEP])";
    return false;
}

}  // namespace

bool parseDrawnFrames(const std::string& text, std::vector<int>& frames, std::string& error) {
    std::vector<int> parsed;
    std::size_t from = 0;
    while (true) {
        const std::size_t comma = text.find(',', from);
        const std::string entry = text.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        FrameRange range;
        if (!parseEntry(entry, range, error)) return false;
        // Counted before it is spread out, so that a huge range costs nothing.
        if (static_cast<std::size_t>(range.count()) + parsed.size() > kMostDrawnFrames) {
            error = text + ": more than " + std::to_string(kMostDrawnFrames) + " frames to draw";
            return false;
        }
        for (int i = 0; i < range.count(); ++i) parsed.push_back(range.start + i * range.step);
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    std::sort(parsed.begin(), parsed.end());
    parsed.erase(std::unique(parsed.begin(), parsed.end()), parsed.end());
    frames = std::move(parsed);
    return true;
}

std::string framesNotEvaluated(const std::vector<int>& frames, const FrameRange& run) {
    for (int frame : frames)
        if (frame < run.start || frame > run.end || (static_cast<long long>(frame) - run.start) % run.step != 0)
            return "frame " + std::to_string(frame) + " is not one the run evaluates (" + std::to_string(run.start) +
                   " to " + std::to_string(run.end) + " step " + std::to_string(run.step) + ")";
    return "";
}

}  // namespace sinewrig_tool
