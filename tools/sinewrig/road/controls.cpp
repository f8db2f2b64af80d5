#include "tools/sinewrig/road/controls.h"

#include <algorithm>
#include <unordered_map>

#include "format/control_values.h"
#include "host/panels/panel_script.h"

namespace sinewrig_tool {

bool setMuscleControls(const Rig& rig, LayoutSession& session, const FramePass& pass, std::vector<MuscleBone>& muscles,
                       std::string& error) {
    std::unordered_map<std::string, MuscleBone*> byName;
    for (MuscleBone& m : muscles) byName.emplace(m.name, &m);
    // Each bone's instances gathered once: a search of them all per muscle
    // would cost the square of the muscles.
    std::unordered_map<LWItemID, std::vector<LWInstance>> instancesOf;
    for (const host::MotionHandlers::Applied& applied : session.handlers->instances())
        instancesOf[applied.item].push_back(applied.instance);
    const long total = static_cast<long>(std::count_if(rig.muscles.begin(), rig.muscles.end(),
                                                       [](const RigMuscle& muscle) { return muscle.hasControls(); }));
    long done = 0;
    for (const RigMuscle& muscle : rig.muscles) {
        if (!muscle.hasControls()) continue;
        pass.announce("setting the muscle controls", done++, total);
        auto found = byName.find(muscle.skelegon);
        if (found == byName.end()) continue;
        MuscleBone* bone = found->second;
        for (LWInstance instance : instancesOf[bone->bone]) {
            session.layout->panels.queue(host::pressOk({host::chooseItem(muscle.volumeAxes, 4),
                                                        host::enterFloat(5, muscle.bulge),
                                                        host::enterFloat(6, muscle.stretchMin),
                                                        host::enterFloat(7, muscle.stretchMax),
                                                        host::enterFloat(8, muscle.influence),
                                                        host::chooseItem(muscle.aim, 9)}));
            const host::MotionHandlers::Options options = session.handlers->openOptions(instance);
            const auto& panels = session.layout->panels;
            if (!options.called || options.error || !panels.problems.empty() || panels.scriptsLeft() != 0) {
                error = "the options panel of \"" + muscle.skelegon + "\" did not take its muscle controls" +
                        (panels.problems.empty() ? std::string() : ": " + panels.problems[0]);
                return false;
            }
        }
        bone->stretchMin = muscle.stretchMin;
        bone->stretchMax = muscle.stretchMax;
        bone->influence = muscle.influence;
        bone->shortestTurn = muscle.aim == sinewrig::kAimShortestTurn;
    }
    if (total > 0) pass.announce("setting the muscle controls", total, total);
    return true;
}

}  // namespace sinewrig_tool
