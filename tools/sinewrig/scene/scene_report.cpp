#include "tools/sinewrig/scene/scene_report.h"

#include <cstdio>
#include <string>

#include "host/text/text_format.h"

namespace sinewrig_tool {

namespace {

// Lists longer than kListedWhole show their first kListed entries and a count.
constexpr std::size_t kListedWhole = 64, kListed = 12;

}  // namespace

void printSceneHeading(std::ostream& out, const SceneRunOptions& options, const host::lws::SceneText& scene,
                       const FrameRange& frames) {
    std::size_t bones = 0;
    for (const host::lws::SceneItem& item : scene.items) bones += item.type == LWI_BONE;
    std::size_t blocks = 0;
    for (const host::lws::PluginBlock& block : scene.plugins) blocks += block.isSinewrig();
    out << "scene " << options.scene << ": LWSC " << scene.version << ", " << scene.items.size() << " item(s), "
        << bones << " bone(s), " << blocks << " Sinewrig block(s); frames " << frames.start << " to " << frames.end
        << " step " << frames.step << " at " << host::numberText(scene.settings.framesPerSecond, 10) << " fps\n"
        << "module " << options.plugin << "\n";
}

void printSceneMuscles(std::ostream& out, const RoadResult& road) {
    out << "\n" << road.muscles.size() << " muscle bone(s):\n";
    const std::size_t shown = road.muscles.size() <= kListedWhole ? road.muscles.size() : kListed;
    for (std::size_t m = 0; m < shown; ++m) {
        const MuscleBone& muscle = road.muscles[m];
        out << "  " << muscle.name << " -> " << (muscle.reference ? *muscle.reference : std::string("(no reference)"))
            << "\n";
    }
    if (shown < road.muscles.size()) out << "  ... and " << road.muscles.size() - shown << " more\n";
    std::size_t without = 0;
    for (const MuscleBone& muscle : road.muscles) without += !muscle.reference;
    if (without > 0 && shown < road.muscles.size()) out << without << " muscle(s) without a reference\n";
}

void printSceneOutcome(std::ostream& out, const RoadResult& road, std::size_t items, const SceneRunOptions& options) {
    char farthest[64];
    std::snprintf(farthest, sizeof farthest, "%.3g", road.farthestFromTarget);
    out << "\nmuscle tips end at most " << farthest << " from their targets\n";
    if (road.roundTripIdentical)
        out << "round trip: the scene written back with the module's saves, loaded in a fresh host and evaluated "
               "again gives every channel of "
            << items << " item(s) over " << road.frameCount << " frame(s) back bit for bit\n";
    else
        out << "round trip: " << road.roundTripDifferences
            << " channel value(s) differ after the scene written back was loaded in a fresh host\n";
    for (const std::string* path : {&options.csv, &options.svg, &options.channels, &options.bake, &options.writtenScene})
        if (!path->empty()) out << "wrote " << (*path == "-" ? std::string("standard output") : *path) << "\n";
}

}  // namespace sinewrig_tool
