// The files a scene's run writes for the user: the muscle CSV, the picture,
// every item's channels, the baked scene and the scene written back, each
// staged before the run and put in place together once it succeeded
// (common/output_file.h).
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "tools/sinewrig/common/output_file.h"
#include "tools/sinewrig/common/temporary_file.h"
#include "tools/sinewrig/scene/scene_run.h"

namespace sinewrig_tool {

class SceneOutputs {
public:
    // False with `error` for the first output that cannot be staged.
    bool stage(const SceneRunOptions& options, std::string& error);

    // One of them goes to standard output: the report then goes to standard error.
    bool toStandardOutput() const { return toStandardOutput_; }
    const std::string& csvSpool() const { return csvSpool_; }
    const std::string& svgSpool() const { return svgSpool_; }
    const std::string& channelsSpool() const { return channelsSpool_; }
    const std::string& bakeSpool() const { return bakeSpool_; }
    // Where the scene is written back for the round trip: the spool of
    // --scene, or a file of the run's own.
    const std::string& writtenScenePath() const { return ownScene_ ? ownScene_->path() : sceneSpool_; }

    bool commit(std::ostream& standardOutput, std::string& error) { return files_.commit(standardOutput, error); }

private:
    OutputFiles files_;
    std::string csvSpool_, svgSpool_, channelsSpool_, bakeSpool_, sceneSpool_;
    std::optional<TemporaryFile> ownScene_;
    bool toStandardOutput_ = false;
};

}  // namespace sinewrig_tool
