#include "tools/sinewrig/run_rig.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>

#include "tools/sinewrig/common/angles.h"
#include "tools/sinewrig/common/module_headers.h"
#include "tools/sinewrig/common/output_file.h"
#include "tools/sinewrig/common/system_reason.h"
#include "tools/sinewrig/common/temporary_file.h"
#include "tools/sinewrig/road/spin.h"
#include "tools/sinewrig/rig/rig_file.h"
#include "tools/sinewrig/rig_csv.h"
#include "tools/sinewrig/road/road.h"
#include "tools/sinewrig/rig_svg.h"

namespace sinewrig_tool {

namespace {

// Without --table, the per-frame table is printed only for rigs this small (rows: frames times muscles).
constexpr long long kTableRowsUnasked = 2000;
// Lists of the report longer than kListedWhole show their first kListed entries and a count.
constexpr std::size_t kListedWhole = 64, kListed = 12;

using Clock = std::chrono::steady_clock;

// On a terminal a line redrawn in place a few times a second; otherwise, as
// in a log, a line when a phase starts and every few seconds while it runs.
Progress progressOn(Console console, bool quiet) {
    if (quiet) return nullptr;
    struct State {
        std::string phase;
        Clock::time_point shown{};
    };
    auto state = std::make_shared<State>();
    return [console, state](const char* phase, long done, long total) {
        const Clock::time_point now = Clock::now();
        const bool newPhase = state->phase != phase;
        const auto every = console.terminal ? std::chrono::milliseconds(100) : std::chrono::milliseconds(3000);
        if (!newPhase && now - state->shown < every && done != total) return;
        if (!newPhase && done == total && !console.terminal) return;
        state->phase = phase;
        state->shown = now;
        std::string line = std::string(phase) + (total > 1 ? ": " + std::to_string(done) + " of " + std::to_string(total) : "");
        if (console.terminal)
            console.err << "\r\033[K" << line << (done == total ? "\r\033[K" : "") << std::flush;
        else
            console.err << "sinewrig run: " << line << "\n" << std::flush;
    };
}

std::string tableHeader(std::size_t width) {
    char line[512];
    std::snprintf(line, sizeof line, "%6s  %-*s  %9s %9s %9s  %8s %8s %8s\n", "frame", int(width), "bone", "heading",
                  "pitch", "bank", "scale x", "scale y", "scale z");
    return line;
}

void appendTableRows(std::string& out, std::size_t width, const std::vector<MuscleBone>& muscles, const FrameSample& frame) {
    char line[512];
    for (std::size_t m = 0; m < frame.muscles.size() && m < muscles.size(); ++m) {
        const Channels& c = frame.muscles[m];
        std::snprintf(line, sizeof line, "%6d  %-*s  %8.3f° %8.3f° %8.3f°  %8.4f %8.4f %8.4f\n", frame.frame, int(width),
                      muscles[m].name.c_str(), degrees(c[0]), degrees(c[1]),
                      degrees(c[2]), c[3], c[4], c[5]);
        out += line;
    }
}

template <typename List, typename Show>
void printList(std::ostream& out, const List& list, Show show) {
    const std::size_t shown = list.size() <= kListedWhole ? list.size() : kListed;
    for (std::size_t i = 0; i < shown; ++i) show(list[i]);
    if (shown < list.size()) out << "  ... and " << list.size() - shown << " more\n";
}

void printRoad(std::ostream& out, const RoadResult& road) {
    if (road.tagsFromObject) {
        out << "\nSetMuscle: skipped; the rig chooses no muscles, so ReadMuscle reads the object file's own tags\n";
    } else {
        out << "\nSetMuscle: the assignment panel as the artist saw it on OK\n" << road.panelTable;
        out << "SetMuscle tagged " << road.tagsWritten.size() << " skelegon(s):\n";
        printList(out, road.tagsWritten, [&](const std::string& tags) { out << "  " << tags << "\n"; });
    }
    out << "\nReadMuscle issued " << road.commands.size() << " command(s):\n";
    printList(out, road.commands, [&](const host::CommandRun& command) {
        out << "  " << command.text << (command.done ? "" : "   (the host could not do it)") << "\n";
    });
    out << "\n" << road.muscles.size() << " muscle bone(s):\n";
    printList(out, road.muscles, [&](const MuscleBone& muscle) {
        out << "  " << muscle.name << " -> " << (muscle.reference ? *muscle.reference : std::string("(no reference)")) << "\n";
    });
}

// Each muscle's largest spin about its own length axis in one frame (of a
// long list, the largest first), and the muscles that spin enough to show.
void printSpins(std::ostream& out, const RoadResult& road) {
    if (road.muscles.empty() || road.frameCount < 2) return;
    std::vector<const MuscleBone*> muscles;
    for (const MuscleBone& muscle : road.muscles) muscles.push_back(&muscle);
    const bool cut = muscles.size() > kListedWhole;
    if (cut)
        std::stable_sort(muscles.begin(), muscles.end(),
                         [](const MuscleBone* a, const MuscleBone* b) { return a->largestSpin > b->largestSpin; });
    std::size_t width = 4;
    for (const MuscleBone* muscle : muscles) width = std::max(width, muscle->name.size());
    out << "\nlargest spin of each muscle about its own length axis from one frame to the next"
        << (cut ? ", the largest first" : "") << ":\n";
    char line[512];
    printList(out, muscles, [&](const MuscleBone* muscle) {
        std::snprintf(line, sizeof line, "  %-*s %8.3f° at frame %d%s\n", int(width), muscle->name.c_str(),
                      muscle->largestSpin, muscle->largestSpinFrame, muscle->shortestTurn ? "   (shortest turn)" : "");
        out << line;
    });

    std::vector<std::string> spinning;
    for (const MuscleBone& muscle : road.muscles)
        if (muscle.largestSpin > kSpinWorthNaming) spinning.push_back(muscle.name);
    if (spinning.empty()) return;
    std::snprintf(line, sizeof line, "%g", kSpinWorthNaming);
    out << spinning.size() << " muscle(s) spin more than " << line << "° about their length axis in one frame:";
    const std::size_t named = spinning.size() <= kListedWhole ? spinning.size() : kListed;
    for (std::size_t i = 0; i < named; ++i) out << (i ? ", " : " ") << spinning[i];
    if (named < spinning.size()) out << " and " << spinning.size() - named << " more";
    out << ".\n  A target passing near straight up or down from a muscle's pivot turns its heading, and so\n"
        << "  rolls the bone about its length; \"aim\": \"shortestTurn\" swings it onto the target by the\n"
        << "  smallest turn instead, which does not spin it.\n";
}

// A stream the frames are written into as they come, in a spool of this run.
struct FrameFile {
    std::string userPath, spool;
    std::ofstream stream;
    std::string buffer;

    void open(const std::string& path, const std::string& spoolPath) {
        userPath = path;
        spool = spoolPath;
        stream.open(spool, std::ios::binary | std::ios::trunc);
    }
    bool active() const { return !spool.empty(); }
    void flush() {
        stream.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        buffer.clear();
    }
    bool close(std::string& error) {
        flush();
        stream.close();
        if (stream.fail()) {
            error = userPath + ": cannot be written (" + systemReason() + ")";
            return false;
        }
        return true;
    }
};

}  // namespace

int runRig(const RunOptions& options, Console console) {
    Rig rig;
    std::string error;
    std::vector<std::string> warnings;
    if (!loadRig(options.rig, rig, warnings, error)) {
        console.err << "sinewrig run: " << error << "\n";
        return kExitBadInput;
    }
    for (const std::string& warning : warnings) console.err << "sinewrig run: warning: " << warning << "\n";
    const FrameRange frames = options.frames.value_or(rig.frames);

    // A module file cut short would be mapped and then fault where it is missing.
    std::string cutShort;
    if (!headersFitFile(options.plugin, cutShort)) {
        console.err << "sinewrig run: " << options.plugin << ": cannot be loaded: " << cutShort << "\n";
        return kExitBadInput;
    }

    // Every output's place is checked before the road, so a bad one costs no time.
    OutputFiles outputs;
    std::string csvSpool, svgSpool, sceneSpool;
    bool toStandardOutput = false;
    for (const auto& [path, spool] : {std::pair<const std::string&, std::string&>{options.csv, csvSpool},
                                      {options.svg, svgSpool},
                                      {options.scene, sceneSpool}}) {
        if (path.empty()) continue;
        if (!outputs.stage(path, spool, error)) {
            console.err << "sinewrig run: " << error << "\n";
            return kExitBadInput;
        }
        toStandardOutput = toStandardOutput || path == "-";
    }
    // With an output on standard output, the report goes to standard error.
    std::ostream& report = toStandardOutput ? console.err : console.out;
    std::optional<TemporaryFile> ownScene;
    if (options.scene.empty()) ownScene.emplace("run.scene");
    const std::string scene = ownScene ? ownScene->path() : sceneSpool;

    report << "rig " << options.rig << ": object \"" << rig.object << "\", " << rig.skelegons.size()
           << " skelegon(s), " << rig.muscles.size() << " muscle choice(s); frames " << frames.start << " to "
           << frames.end << " step " << frames.step << " at " << rig.fps << " fps\n"
           << "module " << options.plugin << "\n";

    const long long tableRows = static_cast<long long>(frames.count()) *
                                static_cast<long long>(std::count_if(rig.skelegons.begin(), rig.skelegons.end(), [&](const RigSkelegon& s) {
                                    return s.selected && s.layer == rig.primaryLayer;
                                }));
    const bool table = options.table || tableRows <= kTableRowsUnasked;
    FrameFile csv, frameTable;
    if (!csvSpool.empty()) csv.open(options.csv, csvSpool);
    const TemporaryFile tableFile("table");
    const std::string& tablePath = tableFile.path();
    if (table) frameTable.open("the frame table", tablePath);

    RoadResult road;
    std::size_t width = 4;
    bool first = true;
    auto sink = [&](const FrameSample& frame) {
        if (first) {
            first = false;
            for (const MuscleBone& muscle : road.muscles) width = std::max(width, muscle.name.size());
            if (csv.active()) csv.buffer += muscleChannelsCsvHeader();
            if (frameTable.active()) frameTable.buffer += tableHeader(width);
        }
        if (csv.active()) {
            appendMuscleChannelsCsv(csv.buffer, road.muscles, frame);
            if (csv.buffer.size() > (1 << 20)) csv.flush();
        }
        if (frameTable.active()) {
            appendTableRows(frameTable.buffer, width, road.muscles, frame);
            if (frameTable.buffer.size() > (1 << 20)) frameTable.flush();
        }
    };
    const RoadStatus status =
        walkRoad(rig, frames, options.plugin, scene, progressOn(console, options.quiet), sink, road, error);
    if (status != RoadStatus::Done) {
        // The scene's spool is the user's --scene: name that instead.
        bool output = false;
        if (!sceneSpool.empty())
            for (std::size_t at; (at = error.find(sceneSpool)) != std::string::npos; output = true)
                error.replace(at, sceneSpool.size(), options.scene);
        console.err << "sinewrig run: " << error << "\n";
        return status == RoadStatus::ModuleUnusable || output ? kExitBadInput : kExitFailed;
    }
    if (first && csv.active()) csv.buffer += muscleChannelsCsvHeader();
    if (csv.active() && !csv.close(error)) {
        console.err << "sinewrig run: " << error << "\n";
        return kExitBadInput;
    }
    if (!svgSpool.empty() && !writeTextFile(svgSpool, rigSvg(rig.object + " (" + options.rig + ")", road), error)) {
        console.err << "sinewrig run: " << options.svg << ": cannot be written (" << systemReason() << ")\n";
        return kExitBadInput;
    }
    if (!outputs.commit(console.out, error)) {
        console.err << "sinewrig run: " << error << "\n";
        return kExitBadInput;
    }

    printRoad(report, road);
    if (frameTable.active()) {
        frameTable.close(error);
        std::ifstream rows(tablePath, std::ios::binary);
        report << "\n";
        if (rows.peek() != std::ifstream::traits_type::eof()) report << rows.rdbuf();
    } else {
        report << "\n(the table of " << tableRows << " rows, one per frame and muscle, is left out: --table prints it, "
               << "--csv writes it to a file)\n";
    }

    char farthest[64];
    std::snprintf(farthest, sizeof farthest, "%.3g", road.farthestFromTarget);
    printSpins(report, road);
    report << "\nmuscle tips end at most " << farthest << " from their targets\n";
    if (road.roundTripIdentical)
        report << "round trip: the scene saved, loaded in a fresh host and evaluated again gives every channel of "
               << road.muscles.size() << " muscle bone(s) over " << road.frameCount << " frame(s) back bit for bit\n";
    else
        report << "round trip: " << road.roundTripDifferences
               << " channel value(s) differ after the scene was loaded in a fresh host\n";
    for (const std::string* path : {&options.csv, &options.svg, &options.scene})
        if (!path->empty()) report << "wrote " << (*path == "-" ? std::string("standard output") : *path) << "\n";
    return road.roundTripIdentical ? kExitOk : kExitFailed;
}

}  // namespace sinewrig_tool
