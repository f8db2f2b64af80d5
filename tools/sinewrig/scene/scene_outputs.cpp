#include "tools/sinewrig/scene/scene_outputs.h"

#include <utility>

namespace sinewrig_tool {

bool SceneOutputs::stage(const SceneRunOptions& options, std::string& error) {
    for (const auto& [path, spool] : {std::pair<const std::string&, std::string&>{options.csv, csvSpool_},
                                      {options.svg, svgSpool_},
                                      {options.channels, channelsSpool_},
                                      {options.bake, bakeSpool_},
                                      {options.writtenScene, sceneSpool_}}) {
        if (path.empty()) continue;
        if (!files_.stage(path, spool, error)) return false;
        toStandardOutput_ = toStandardOutput_ || path == "-";
    }
    if (options.writtenScene.empty()) ownScene_.emplace("written.lws");
    return true;
}

}  // namespace sinewrig_tool
