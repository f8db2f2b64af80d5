// The files a run writes for the user: the CSV, the picture, the scene and
// the object file beside it, each staged before the road, so that a bad
// place costs no time, and put in place together once the whole road
// succeeded (common/output_file.h).
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "tools/sinewrig/common/output_file.h"
#include "tools/sinewrig/common/temporary_file.h"
#include "tools/sinewrig/road/road.h"
#include "tools/sinewrig/run/run.h"

namespace sinewrig_tool {

class RunOutputs {
public:
    // False with `error` for the first output that cannot be staged.
    bool stage(const RunOptions& options, std::string& error);

    // One of them goes to standard output: the report then goes to standard error.
    bool toStandardOutput() const { return toStandardOutput_; }
    const std::string& csvSpool() const { return csvSpool_; }
    // Where the road saves its scene and object: the spools of --scene and
    // the object beside it, or a scene file of the run's own and no object.
    SceneFiles sceneFiles() const;
    // The spools of --scene and its object named in `error` as the user would
    // name the files; true when one was named.
    bool nameScene(std::string& error) const;

    bool wantsPicture() const { return !svgSpool_.empty(); }
    // The picture into its spool; false with `error`.
    bool writePicture(const std::string& svg, std::string& error) const;
    bool commit(std::ostream& standardOutput, std::string& error) { return files_.commit(standardOutput, error); }

private:
    OutputFiles files_;
    std::string userSvg_, userScene_, userObject_;  // the paths as the user gave them
    std::string csvSpool_, svgSpool_, sceneSpool_, objectSpool_;
    std::optional<TemporaryFile> ownScene_;
    bool toStandardOutput_ = false;
};

}  // namespace sinewrig_tool
