#include "tools/sinewrig/run_rig.h"

#include <cstdio>

#include "tools/sinewrig/output_file.h"
#include "tools/sinewrig/rig.h"
#include "tools/sinewrig/rig_csv.h"
#include "tools/sinewrig/rig_road.h"
#include "tools/sinewrig/rig_svg.h"

namespace sinewrig_tool {

namespace {

constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;

// "frame 120 of 10000" redrawn in place on the terminal, about a hundred times a pass.
Progress progressOn(Console console, bool quiet) {
    if (quiet || !console.terminal) return nullptr;
    return [console](int pass, int done, int total) {
        const int every = total / 100 > 1 ? total / 100 : 1;
        if (done % every != 0 && done != total) return;
        console.err << "\r" << (pass == 1 ? "evaluating" : "evaluating the reloaded scene") << ": frame " << done
                    << " of " << total << (done == total ? "\r\033[K" : "") << std::flush;
    };
}

void printFrames(std::ostream& out, const RoadResult& road) {
    std::size_t width = 4;
    for (const MuscleBone& muscle : road.muscles) width = std::max(width, muscle.name.size());
    char line[512];
    std::snprintf(line, sizeof line, "%6s  %-*s  %9s %9s %9s  %8s %8s %8s\n", "frame", int(width), "bone", "heading",
                  "pitch", "bank", "scale x", "scale y", "scale z");
    out << line;
    for (const FrameSample& frame : road.frames)
        for (std::size_t m = 0; m < frame.muscles.size(); ++m) {
            const Channels& c = frame.muscles[m];
            std::snprintf(line, sizeof line, "%6d  %-*s  %8.3f° %8.3f° %8.3f°  %8.4f %8.4f %8.4f\n", frame.frame,
                          int(width), road.muscles[m].name.c_str(), c[0] * kDegreesPerRadian, c[1] * kDegreesPerRadian,
                          c[2] * kDegreesPerRadian, c[3], c[4], c[5]);
            out << line;
        }
}

void printRoad(std::ostream& out, const RoadResult& road) {
    out << "\nSetMuscle: the assignment panel as the artist saw it on OK\n" << road.panelTable;
    out << "SetMuscle tagged " << road.tagsWritten.size() << " skelegon(s):\n";
    for (const std::string& tags : road.tagsWritten) out << "  " << tags << "\n";
    out << "\nReadMuscle issued " << road.commands.size() << " command(s):\n";
    for (const host::CommandRun& command : road.commands)
        out << "  " << command.text << (command.done ? "" : "   (the host could not do it)") << "\n";
    out << "\n" << road.muscles.size() << " muscle bone(s):";
    for (const MuscleBone& muscle : road.muscles)
        out << "  " << muscle.name << " -> " << (muscle.reference ? *muscle.reference : std::string("(no reference)"));
    out << "\n\n";
    printFrames(out, road);
}

}  // namespace

int runRig(const RunOptions& options, Console console) {
    Rig rig;
    std::string error;
    if (!loadRig(options.rig, rig, error)) {
        console.err << "sinewrig run: " << error << "\n";
        return kExitBadInput;
    }
    const FrameRange frames = options.frames.value_or(rig.frames);

    OutputFiles outputs;
    const std::string scene = options.scene.empty()
                                  ? temporaryPath("run.scene")
                                  : outputs.stage(options.scene);
    console.out << "rig " << options.rig << ": object \"" << rig.object << "\", " << rig.skelegons.size()
                << " skelegon(s), " << rig.muscles.size() << " muscle choice(s); frames " << frames.start << " to "
                << frames.end << " step " << frames.step << " at " << rig.fps << " fps\n"
                << "module " << options.plugin << "\n";

    RoadResult road;
    const RoadStatus status = walkRoad(rig, frames, options.plugin, scene, progressOn(console, options.quiet), road, error);
    if (options.scene.empty()) std::remove(scene.c_str());
    if (status == RoadStatus::ModuleUnusable) {
        console.err << "sinewrig run: " << error << "\n";
        return kExitBadInput;
    }
    if (status == RoadStatus::Failed) {
        console.err << "sinewrig run: " << error << "\n";
        return kExitFailed;
    }
    printRoad(console.out, road);

    if (!options.csv.empty() && !writeTextFile(outputs.stage(options.csv), muscleChannelsCsv(road), error)) {
        console.err << "sinewrig run: " << error << "\n";
        return kExitBadInput;
    }
    if (!options.svg.empty() &&
        !writeTextFile(outputs.stage(options.svg), rigSvg(rig.object + " (" + options.rig + ")", road), error)) {
        console.err << "sinewrig run: " << error << "\n";
        return kExitBadInput;
    }
    if (!outputs.commit(error)) {
        console.err << "sinewrig run: " << error << "\n";
        return kExitBadInput;
    }

    char farthest[64];
    std::snprintf(farthest, sizeof farthest, "%.3g", road.farthestFromTarget);
    console.out << "\nmuscle tips end at most " << farthest << " from their targets\n";
    if (road.roundTripIdentical)
        console.out << "round trip: the scene saved, loaded in a fresh host and evaluated again gives every channel of "
                    << road.muscles.size() << " muscle bone(s) over " << road.frames.size()
                    << " frame(s) back bit for bit\n";
    else
        console.out << "round trip: " << road.roundTripDifferences
                    << " channel value(s) differ after the scene was loaded in a fresh host\n";
    if (!options.csv.empty()) console.out << "wrote " << options.csv << "\n";
    if (!options.svg.empty()) console.out << "wrote " << options.svg << "\n";
    if (!options.scene.empty()) console.out << "wrote " << options.scene << "\n";
    return road.roundTripIdentical ? kExitOk : kExitFailed;
}

}  // namespace sinewrig_tool
