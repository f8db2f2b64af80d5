// The road of a rig's muscles through the stand-in host and a loaded module
// file: the skelegons tagged with SetMuscle in Modeler, bones made from them in
// Layout, the rig's animation, ReadMuscle, the frames evaluated, and the scene
// saved as the host saves it (LWSC, with the tagged object file beside it) and
// loaded in a fresh host to be evaluated again.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/layout/layout.h"
#include "tools/sinewrig/rig/rig.h"
#include "tools/sinewrig/road/channels.h"
#include "tools/sinewrig/road/frame_pass.h"
#include "tools/sinewrig/road/muscle_bones.h"
#include "tools/sinewrig/road/plots.h"
#include "tools/sinewrig/road/poses.h"

namespace sinewrig_tool {

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
    double farthestFromTarget = 0;  // how far the tip of any muscle free to reach it ended from its target
    double farthestHeldBack = 0;    // the same of the muscles held back on purpose (MuscleBone::heldBack)
    bool roundTripIdentical = false;
    std::size_t roundTripDifferences = 0;  // channels that differ after the reload
};

// Where the road saves the scene, and the object file the scene loads.
struct SceneFiles {
    std::string scene;       // the LWSC scene
    std::string object;      // the tagged object is written here; not written when empty
    std::string objectName;  // the object file as the scene's LoadObjectLayer names it
};

// RigRefused: the rig asks for what the host cannot hold; `error` names the
// field in the rig file.
enum class RoadStatus { Done, ModuleUnusable, RigRefused, Failed };

// Handed each frame of the first pass as it is evaluated; frames are not kept.
using FrameSink = std::function<void(const FrameSample&)>;

// `drawnFrames`: those of `frames` whose poses are kept for the picture,
// ascending; none: a few spread across the range.
RoadStatus walkRoad(const Rig& rig, const FrameRange& frames, const std::string& plugin, const SceneFiles& files,
                    const Progress& progress, const FrameSink& sink, RoadResult& result, std::string& error,
                    const std::vector<int>& drawnFrames = {});

}  // namespace sinewrig_tool
