#include "tools/sinewrig/run/run.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "tools/sinewrig/common/module_headers.h"
#include "tools/sinewrig/common/module_kind.h"
#include "tools/sinewrig/rig/rig_file.h"
#include "tools/sinewrig/road/road.h"
#include "tools/sinewrig/run/drawn_frames.h"
#include "tools/sinewrig/run/frame_writers.h"
#include "tools/sinewrig/run/outputs.h"
#include "tools/sinewrig/run/picture/picture.h"
#include "tools/sinewrig/run/progress.h"
#include "tools/sinewrig/run/report.h"

namespace sinewrig_tool {

namespace {

// Without --table, the per-frame table is printed only for rigs this small (rows: frames times muscles).
constexpr long long kTableRowsUnasked = 2000;

class Run {
public:
    Run(const RunOptions& options, Console console) : options_(options), console_(console) {}

    int go() {
        if (!load() || !stage()) return kExitBadInput;
        if (const int walked = walk(); walked != kExitOk) return walked;
        if (!putOutputsInPlace()) return kExitBadInput;
        return report();
    }

private:
    bool refuse(const std::string& error) {
        console_.err << "sinewrig run: " << error << "\n";
        return false;
    }

    // The rig, its warnings said, and the module file's headers: a file cut
    // short would be mapped and then fault where it is missing.
    bool load() {
        std::string error;
        std::vector<std::string> warnings;
        if (!loadRig(options_.rig, rig_, warnings, error)) return refuse(error);
        for (const std::string& warning : warnings) console_.err << "sinewrig run: warning: " << warning << "\n";
        frames_ = options_.frames.value_or(rig_.frames);
        if (const std::string foreign = foreignModuleReason(options_.plugin); !foreign.empty())
            return refuse(options_.plugin + ": cannot be loaded: " + foreign);
        if (const std::string outside = framesNotEvaluated(options_.svgFrames, frames_); !outside.empty())
            return refuse("--svg-frames: " + outside);
        std::string cutShort;
        if (!headersFitFile(options_.plugin, cutShort))
            return refuse(options_.plugin + ": cannot be loaded: " + cutShort);
        return true;
    }

    // Every output's place, before the road; then the report's heading.
    bool stage() {
        std::string error;
        if (!outputs_.stage(options_, error)) return refuse(error);
        report_ = outputs_.toStandardOutput() ? &console_.err : &console_.out;
        *report_ << "rig " << options_.rig << ": object \"" << rig_.object << "\", " << rig_.skelegons.size()
                 << " skelegon(s), " << rig_.muscles.size() << " muscle choice(s); frames " << frames_.start << " to "
                 << frames_.end << " step " << frames_.step << " at " << rig_.fps << " fps\n"
                 << "module " << options_.plugin << "\n";
        tableRows_ = static_cast<long long>(frames_.count()) *
                     static_cast<long long>(std::count_if(rig_.skelegons.begin(), rig_.skelegons.end(), [&](const RigSkelegon& s) {
                         return s.selected && s.layer == rig_.primaryLayer;
                     }));
        writers_.emplace(options_.csv, outputs_.csvSpool(), options_.table || tableRows_ <= kTableRowsUnasked);
        return true;
    }

    // The road, each frame written as it comes. A failure is said, with the
    // scene named as the user named it; kExitBadInput when it lies with the
    // module file or an output, kExitFailed when the road itself failed.
    int walk() {
        std::string error;
        const RoadStatus status =
            walkRoad(rig_, frames_, options_.plugin, outputs_.sceneFiles(), options_.quiet ? Progress() : progressOn(console_),
                     [this](const FrameSample& frame) { writers_->write(road_.muscles, frame); }, road_, error,
                     options_.svgFrames);
        if (status == RoadStatus::Done) return kExitOk;
        if (status == RoadStatus::RigRefused) {
            refuse(options_.rig + ": " + error);
            return kExitBadInput;
        }
        const bool output = outputs_.nameScene(error);
        refuse(error);
        return status == RoadStatus::ModuleUnusable || output ? kExitBadInput : kExitFailed;
    }

    bool putOutputsInPlace() {
        std::string error;
        if (!writers_->closeCsv(error)) return refuse(error);
        if (outputs_.wantsPicture() &&
            !outputs_.writePicture(rigSvg(rig_.object + " (" + options_.rig + ")", road_), error))
            return refuse(error);
        if (!outputs_.commit(console_.out, error)) return refuse(error);
        return true;
    }

    int report() {
        std::ostream& out = *report_;
        printRoad(out, road_);
        writers_->printTable(out, tableRows_);
        printSpins(out, road_);
        printOutcome(out, road_, options_);
        return road_.roundTripIdentical ? kExitOk : kExitFailed;
    }

    const RunOptions& options_;
    Console console_;
    Rig rig_;
    FrameRange frames_;
    RunOutputs outputs_;
    std::ostream* report_ = nullptr;
    long long tableRows_ = 0;
    std::optional<FrameWriters> writers_;
    RoadResult road_;
};

}  // namespace

int runRig(const RunOptions& options, Console console) { return Run(options, console).go(); }

}  // namespace sinewrig_tool
