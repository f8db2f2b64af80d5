// The files a run writes for the user: the CSV, the picture and the scene,
// each staged before the road, so that a bad place costs no time, and put in
// place together once the whole road succeeded (common/output_file.h).
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "tools/sinewrig/common/output_file.h"
#include "tools/sinewrig/common/temporary_file.h"
#include "tools/sinewrig/run/run.h"

namespace sinewrig_tool {

class RunOutputs {
public:
    // False with `error` for the first output that cannot be staged.
    bool stage(const RunOptions& options, std::string& error);

    // One of them goes to standard output: the report then goes to standard error.
    bool toStandardOutput() const { return toStandardOutput_; }
    const std::string& csvSpool() const { return csvSpool_; }
    // Where the road saves its scene: the spool of --scene, or a file of the run's own.
    const std::string& scenePath() const;
    // The spool of --scene named in `error` as the user named the file; true when it was named.
    bool nameScene(std::string& error) const;

    bool wantsPicture() const { return !svgSpool_.empty(); }
    // The picture into its spool; false with `error`.
    bool writePicture(const std::string& svg, std::string& error) const;
    bool commit(std::ostream& standardOutput, std::string& error) { return files_.commit(standardOutput, error); }

private:
    OutputFiles files_;
    std::string userSvg_, userScene_;  // the paths as the user gave them
    std::string csvSpool_, svgSpool_, sceneSpool_;
    std::optional<TemporaryFile> ownScene_;
    bool toStandardOutput_ = false;
};

}  // namespace sinewrig_tool
