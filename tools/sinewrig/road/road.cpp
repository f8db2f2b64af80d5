#include "tools/sinewrig/road/road.h"

#include <memory>

#include "host/modeler/modeler.h"
#include "host/process/module_file.h"
#include "host/lws/load_scene.h"
#include "tools/sinewrig/common/system_reason.h"
#include "tools/sinewrig/road/comparing.h"
#include "tools/sinewrig/road/controls.h"
#include "tools/sinewrig/road/layout_session.h"
#include "tools/sinewrig/road/recording.h"
#include "tools/sinewrig/road/rig_scene.h"
#include "tools/sinewrig/road/spool.h"
#include "tools/sinewrig/road/tagging.h"

namespace sinewrig_tool {

namespace {

// One walk of the road: what it is given, and where it gathers what it finds.
struct Walk {
    const Rig& rig;
    FramePass pass;
    const FrameSink& sink;
    const SceneFiles& files;
    RoadResult& result;
    std::string& error;
    ChannelSpool spool{};

    // The rig in Layout: its bones and keys, ReadMuscle, the muscle controls,
    // the frames recorded and the scene saved.
    RoadStatus playInLayout(const host::ModuleFile& module, const host::Modeler& modeler) {
        LayoutSession session(module);
        pass.announce("making the bones", 0, 1);
        if (!buildLayout(rig, modeler, session, error)) return RoadStatus::RigRefused;
        session.layout->select({session.object});
        pass.announce("ReadMuscle", 0, 1);
        const int status =
            module.activate("LayoutGeneric", "ReadMuscle", 2, host::Services::global(), session.layout->generic());
        result.commands = session.layout->commands;
        if (status != AFUNC_OK) {
            error = "ReadMuscle gave activation result " + std::to_string(status);
            return RoadStatus::Failed;
        }
        pass.announce("ReadMuscle", 1, 1);
        result.muscles = muscleBones(session);
        if (!setMuscleControls(rig, session, pass, result.muscles, error)) return RoadStatus::Failed;
        if (!recordFrames(session, pass, sink, spool, result)) {
            error = spool.path() + ": cannot be written (" + systemReason() + ")";
            return RoadStatus::Failed;
        }
        pass.announce("saving the scene", 0, 1);
        if (!saveRigScene(rig, session, files, error)) return RoadStatus::Failed;
        if (!files.object.empty() && !writeRigObject(rig, modeler.object, files.object, error)) return RoadStatus::Failed;
        if (!session.layout->problems().empty()) {
            error = "the stand-in Layout saw a problem: " + session.layout->problems()[0];
            return RoadStatus::Failed;
        }
        return RoadStatus::Done;
    }

    // The saved scene in a fresh host, a new Layout with the module file
    // loaded again, its frames compared with the first pass's.
    RoadStatus replayInFreshHost(const std::string& plugin) {
        std::unique_ptr<host::ModuleFile> module = host::ModuleFile::load(plugin, error);
        if (!module) return RoadStatus::ModuleUnusable;
        LayoutSession fresh(*module);
        pass.announce("loading the scene", 0, 1);
        host::lws::SceneText scene;
        if (!host::lws::readSceneFile(files.scene, scene, error)) return RoadStatus::Failed;
        if (!host::lws::loadScene(scene, *fresh.layout, *fresh.handlers, error)) {
            error = files.scene + ": " + error;
            return RoadStatus::Failed;
        }
        spool.rewind();
        if (!compareFrames(fresh, pass, result.muscles, spool, result.roundTripDifferences)) {
            error = spool.path() + ": cannot be read back";
            return RoadStatus::Failed;
        }
        result.roundTripIdentical = result.roundTripDifferences == 0;
        return RoadStatus::Done;
    }
};

}  // namespace

RoadStatus walkRoad(const Rig& rig, const FrameRange& frames, const std::string& plugin, const SceneFiles& files,
                    const Progress& progress, const FrameSink& sink, RoadResult& result, std::string& error,
                    const std::vector<int>& drawnFrames) {
    Walk walk{rig, {frames, rig.fps, progress, drawnFrames}, sink, files, result, error};
    {
        std::unique_ptr<host::ModuleFile> module = host::ModuleFile::load(plugin, error);
        if (!module) return RoadStatus::ModuleUnusable;

        host::Modeler modeler;
        walk.pass.announce("SetMuscle", 0, 1);
        if (!tagSkelegons(rig, *module, modeler, result, error)) return RoadStatus::Failed;
        walk.pass.announce("SetMuscle", 1, 1);

        if (!walk.spool.open(error)) return RoadStatus::Failed;
        result.frameCount = frames.count();
        const RoadStatus played = walk.playInLayout(*module, modeler);
        if (played != RoadStatus::Done) return played;
    }
    // The first host goes, module file and all, before the fresh one loads it.
    return walk.replayInFreshHost(plugin);
}

}  // namespace sinewrig_tool
