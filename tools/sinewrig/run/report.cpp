#include "tools/sinewrig/run/report.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/sinewrig/common/display_width.h"
#include "tools/sinewrig/road/rig_scene.h"
#include "tools/sinewrig/road/spin.h"

namespace sinewrig_tool {

namespace {

// Lists longer than kListedWhole show their first kListed entries and a count.
constexpr std::size_t kListedWhole = 64, kListed = 12;

template <typename List, typename Show>
void printList(std::ostream& out, const List& list, Show show) {
    const std::size_t shown = list.size() <= kListedWhole ? list.size() : kListed;
    for (std::size_t i = 0; i < shown; ++i) show(list[i]);
    if (shown < list.size()) out << "  ... and " << list.size() - shown << " more\n";
}

}  // namespace

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

// Of a long list, the largest spin first.
void printSpins(std::ostream& out, const RoadResult& road) {
    if (road.muscles.empty() || road.frameCount < 2) return;
    std::vector<const MuscleBone*> muscles;
    for (const MuscleBone& muscle : road.muscles) muscles.push_back(&muscle);
    const bool cut = muscles.size() > kListedWhole;
    if (cut)
        std::stable_sort(muscles.begin(), muscles.end(),
                         [](const MuscleBone* a, const MuscleBone* b) { return a->largestSpin > b->largestSpin; });
    std::size_t width = 4;
    for (const MuscleBone* muscle : muscles) width = std::max(width, displayWidth(muscle->name));
    out << "\nlargest spin of each muscle about its own length axis from one frame to the next"
        << (cut ? ", the largest first" : "") << ":\n";
    char line[512];
    printList(out, muscles, [&](const MuscleBone* muscle) {
        std::snprintf(line, sizeof line, " %8.3f° at frame %d%s\n", muscle->largestSpin, muscle->largestSpinFrame,
                      muscle->shortestTurn ? "   (shortest turn)" : "");
        out << "  " << padToWidth(muscle->name, width) << line;
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

namespace {

// Muscles free to reach their targets apart from those held back on purpose,
// whose tips stop short by design and would hide a real miss among them.
void printMisses(std::ostream& out, const RoadResult& road) {
    const std::size_t heldBack = static_cast<std::size_t>(
        std::count_if(road.muscles.begin(), road.muscles.end(), [](const MuscleBone& m) { return m.heldBack(); }));
    char distance[64];
    std::snprintf(distance, sizeof distance, "%.3g", road.farthestFromTarget);
    out << "\n";
    if (heldBack < road.muscles.size())
        out << (heldBack ? "muscle tips free to reach their targets end at most " : "muscle tips end at most ") << distance
            << " from their targets\n";
    if (heldBack == 0) return;
    std::snprintf(distance, sizeof distance, "%.3g", road.farthestHeldBack);
    out << heldBack << " muscle(s) held back on purpose (stretch limits, influence below 1) end at most " << distance
        << " from their targets, by design:";
    const std::size_t named = heldBack <= kListedWhole ? heldBack : kListed;
    std::size_t said = 0;
    for (const MuscleBone& muscle : road.muscles)
        if (muscle.heldBack() && said < named) out << (said++ ? ", " : " ") << muscle.name;
    if (named < heldBack) out << " and " << heldBack - named << " more";
    out << "\n";
}

}  // namespace

void printOutcome(std::ostream& out, const RoadResult& road, const RunOptions& options) {
    printMisses(out, road);
    if (road.roundTripIdentical)
        out << "round trip: the scene saved, loaded in a fresh host and evaluated again gives every channel of "
            << road.muscles.size() << " muscle bone(s) over " << road.frameCount << " frame(s) back bit for bit\n";
    else
        out << "round trip: " << road.roundTripDifferences
            << " channel value(s) differ after the scene was loaded in a fresh host\n";
    for (const std::string* path : {&options.csv, &options.svg, &options.scene})
        if (!path->empty()) out << "wrote " << (*path == "-" ? std::string("standard output") : *path) << "\n";
    if (!options.scene.empty()) out << "wrote " << objectPathBeside(options.scene) << "\n";
}

}  // namespace sinewrig_tool
