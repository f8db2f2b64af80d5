#include "tools/sinewrig/run/outputs.h"

#include <utility>

#include "tools/sinewrig/common/system_reason.h"

namespace sinewrig_tool {

bool RunOutputs::stage(const RunOptions& options, std::string& error) {
    userSvg_ = options.svg;
    userScene_ = options.scene;
    for (const auto& [path, spool] : {std::pair<const std::string&, std::string&>{options.csv, csvSpool_},
                                      {options.svg, svgSpool_},
                                      {options.scene, sceneSpool_}}) {
        if (path.empty()) continue;
        if (!files_.stage(path, spool, error)) return false;
        toStandardOutput_ = toStandardOutput_ || path == "-";
    }
    if (options.scene.empty()) ownScene_.emplace("run.scene");
    return true;
}

const std::string& RunOutputs::scenePath() const { return ownScene_ ? ownScene_->path() : sceneSpool_; }

bool RunOutputs::nameScene(std::string& error) const {
    bool named = false;
    if (!sceneSpool_.empty())
        for (std::size_t at; (at = error.find(sceneSpool_)) != std::string::npos; named = true)
            error.replace(at, sceneSpool_.size(), userScene_);
    return named;
}

bool RunOutputs::writePicture(const std::string& svg, std::string& error) const {
    if (writeTextFile(svgSpool_, svg, error)) return true;
    error = userSvg_ + ": cannot be written (" + systemReason() + ")";
    return false;
}

}  // namespace sinewrig_tool
