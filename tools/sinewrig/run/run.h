// `sinewrig run`: the whole road of a rig's muscles through the stand-in host
// and a loaded module file, in four steps: load the rig, stage the outputs,
// walk the road, report.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/sinewrig/console.h"
#include "tools/sinewrig/rig/rig.h"

namespace sinewrig_tool {

struct RunOptions {
    std::string rig;
    std::optional<FrameRange> frames;  // none: the rig's own range
    std::string csv, svg, scene;
    std::vector<int> svgFrames;  // the frames the picture draws, ascending; none: five across the range
    std::string plugin;
    bool quiet = false;  // no progress display
    bool table = false;  // the per-frame table on the report even for a large rig
};

int runRig(const RunOptions& options, Console console);

}  // namespace sinewrig_tool
