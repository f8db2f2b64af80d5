// The road of a rig's muscles through the stand-in host and a loaded module
// file: the skelegons tagged with SetMuscle in Modeler, bones made from them in
// Layout, the rig's animation, ReadMuscle, the frames evaluated, and the scene
// saved and loaded in a fresh host to be evaluated again.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/layout/layout.h"
#include "host/geometry/rigid_transform.h"
#include "tools/sinewrig/rig/rig.h"

namespace sinewrig_tool {

// A muscle bone's motion at one frame: rotation (radians), scale, position.
using Channels = std::array<double, 9>;

struct MuscleBone {
    std::string name;
    LWItemID bone = nullptr;
    std::optional<std::string> reference;  // the reference item's name, when it has one
    LWItemID referenceItem = nullptr;
    int colour = -1;                       // the item colour ReadMuscle gave it
    double stretchMin = 0, stretchMax = 0;  // the limits its options panel was given (0: none)
    bool shortestTurn = false;              // its options panel was given the shortest turn
    // Its largest spin about its own length axis from one evaluated frame to
    // the next (degrees), and the frame it came at.
    double largestSpin = 0;
    int largestSpinFrame = 0;
};

struct FrameSample {
    int frame = 0;
    double time = 0;
    std::vector<Channels> muscles;  // in the order of RoadResult::muscles
};

// The muscles' length scales (their z scale, 1 at rest length) over the
// frames, for the plot: at most kFrames frames spread over the range, each
// muscle's own series when there are few, and always the band of their spread.
struct LengthPlot {
    static constexpr std::size_t kFrames = 1000;
    static constexpr std::size_t kMusclesOwnSeries = 12;

    std::vector<int> frames;
    std::vector<std::vector<double>> series;  // by muscle, only with at most kMusclesOwnSeries muscles
    std::vector<double> low, high;            // by frame: the smallest and largest scale of any muscle
    std::size_t lowest = 0, highest = 0;      // the muscles with the smallest and largest scale of all
    double lowestScale = 1, highestScale = 1;
};

// Each muscle's spin about its own length axis over the frames of the length
// plot: at each of them, the largest spin from one evaluated frame to the next
// since the plotted frame before it (degrees); each muscle's own series when
// there are few, and always the largest of any muscle.
struct SpinPlot {
    std::vector<std::vector<double>> series;  // by muscle, only with at most LengthPlot::kMusclesOwnSeries muscles
    std::vector<double> high;                 // by plotted frame
};

struct BonePose {
    std::string name;
    bool muscle = false;
    int colour = -1;
    host::Vector3 pivot{}, tip{};         // in the world, the tip as the bone is scaled
    double thickness = 1;                 // the bone's x scale: a muscle that keeps its volume thickens
    host::Vector3 up{};                   // in the world, the bone's own +Y: how it is rolled about its length
    std::optional<host::Vector3> target;  // muscles with a reference: where the rest tip has moved with it
};

struct PoseSample {
    int frame = 0;
    std::vector<BonePose> bones;
};

struct RoadResult {
    std::string panelTable;  // SetMuscle's list as the artist saw it on OK, in UTF-8
    bool tagsFromObject = false;  // SetMuscle skipped: the object file's own tags were read
    std::vector<std::string> tagsWritten;  // "Biceps: COLR DkRed, MTIP Fore, MFLG 3"
    std::vector<host::CommandRun> commands;  // what ReadMuscle issued
    std::vector<MuscleBone> muscles;
    int frameCount = 0;             // frames evaluated in each pass
    LengthPlot plot;
    SpinPlot spins;  // over the frames of `plot`
    std::vector<PoseSample> poses;  // a few frames across the range, for drawing
    double farthestFromTarget = 0;  // how far any muscle's tip ended from its target
    bool roundTripIdentical = false;
    std::size_t roundTripDifferences = 0;  // channels that differ after the reload
};

enum class RoadStatus { Done, ModuleUnusable, Failed };

// Told how far a phase of the road is: "SetMuscle", "evaluating", ...; `done`
// of `total` steps (0 of 1 as a phase starts, `total` of `total` as it ends).
using Progress = std::function<void(const char* phase, long done, long total)>;

// Handed each frame of the first pass as it is evaluated; frames are not kept.
using FrameSink = std::function<void(const FrameSample&)>;

RoadStatus walkRoad(const Rig& rig, const FrameRange& frames, const std::string& plugin, const std::string& scenePath,
                    const Progress& progress, const FrameSink& sink, RoadResult& result, std::string& error);

}  // namespace sinewrig_tool
