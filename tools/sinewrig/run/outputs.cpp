#include "tools/sinewrig/run/outputs.h"

#include <utility>

#include "tools/sinewrig/common/system_reason.h"
#include "tools/sinewrig/road/rig_scene.h"

namespace sinewrig_tool {

bool RunOutputs::stage(const RunOptions& options, std::string& error) {
    userSvg_ = options.svg;
    userScene_ = options.scene;
    // The scene loads its object from a file beside it: standard output has no beside.
    if (options.scene == "-") {
        error = "--scene -: a rig's scene loads its object from a file beside it (OUT.lwo for OUT.lws), which "
                "standard output has no place for; name the scene's file";
        return false;
    }
    if (!options.scene.empty()) userObject_ = objectPathBeside(options.scene);
    for (const auto& [path, spool] : {std::pair<const std::string&, std::string&>{options.csv, csvSpool_},
                                      {options.svg, svgSpool_},
                                      {options.scene, sceneSpool_},
                                      {userObject_, objectSpool_}}) {
        if (path.empty()) continue;
        if (!files_.stage(path, spool, error)) return false;
        toStandardOutput_ = toStandardOutput_ || path == "-";
    }
    if (options.scene.empty()) ownScene_.emplace("run.lws");
    return true;
}

SceneFiles RunOutputs::sceneFiles() const {
    if (ownScene_) return {ownScene_->path(), {}, "run.lwo"};
    return {sceneSpool_, objectSpool_, fileNameOf(userObject_)};
}

bool RunOutputs::nameScene(std::string& error) const {
    bool named = false;
    for (const auto& [spool, user] : {std::pair<const std::string&, const std::string&>{sceneSpool_, userScene_},
                                      {objectSpool_, userObject_}})
        if (!spool.empty())
            for (std::size_t at; (at = error.find(spool)) != std::string::npos; named = true)
                error.replace(at, spool.size(), user);
    return named;
}

bool RunOutputs::writePicture(const std::string& svg, std::string& error) const {
    if (writeTextFile(svgSpool_, svg, error)) return true;
    error = userSvg_ + ": cannot be written (" + systemReason() + ")";
    return false;
}

}  // namespace sinewrig_tool
