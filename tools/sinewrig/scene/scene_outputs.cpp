#include "tools/sinewrig/scene/scene_outputs.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace sinewrig_tool {

namespace {

// An output in place of the scene read would lose the artist's file to a
// mistyped option.
bool namesTheScene(const std::string& path, const std::string& scene) {
    std::error_code failed;
    return path != "-" && std::filesystem::equivalent(path, scene, failed) && !failed;
}

}  // namespace

bool SceneOutputs::stage(const SceneRunOptions& options, std::string& error) {
    for (const auto& [path, spool] : {std::pair<const std::string&, std::string&>{options.csv, csvSpool_},
                                      {options.svg, svgSpool_},
                                      {options.channels, channelsSpool_},
                                      {options.bake, bakeSpool_},
                                      {options.writtenScene, sceneSpool_}}) {
        if (path.empty()) continue;
        if (namesTheScene(path, options.scene)) {
            error = path + ": is the scene read; write the outputs elsewhere";
            return false;
        }
        if (!files_.stage(path, spool, error)) return false;
        toStandardOutput_ = toStandardOutput_ || path == "-";
    }
    if (options.writtenScene.empty()) ownScene_.emplace("written.lws");
    return true;
}

}  // namespace sinewrig_tool
