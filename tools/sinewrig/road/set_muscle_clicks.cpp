#include "tools/sinewrig/road/set_muscle_clicks.h"

#include <map>

#include "format/skelegon_tags.h"
#include "host/text/cp932.h"

namespace sinewrig_tool {

namespace {

// Where a click lands in each column of SetMuscle's list, as an artist clicks.
constexpr int kReferenceX = 180, kPreserveVolumeX = 270, kAfterIKX = 330;

std::string nameOf(const host::MeshPolygon& polygon) {
    const char* name = polygon.tag(sinewrig::kPartTag);
    return name ? host::utf8FromCp932(name) : std::string();
}

}  // namespace

void SetMuscleClicks::row(int row, const RigMuscle& muscle, int reference) {
    if (reference >= 0) {
        list.actions.push_back(host::clickCell(row, kReferenceX));
        choosers.push_back(host::pressOk({host::chooseItem(reference)}));
    }
    if (muscle.preserveVolume) list.actions.push_back(host::clickCell(row, kPreserveVolumeX));
    if (!muscle.afterIK) list.actions.push_back(host::clickCell(row, kAfterIKX));
}

bool playSetMuscle(const host::ModuleFile& module, host::Modeler& modeler, SetMuscleClicks clicks, std::string& error) {
    modeler.panels.queue(std::move(clicks.list));
    for (host::OpenScript& chooser : clicks.choosers) modeler.panels.queue(std::move(chooser));
    modeler.makeActive();
    const int status = module.activate("CommandSequence", "SetMuscle", 3, host::Services::global(), &modeler.command);
    if (status != AFUNC_OK) {
        error = "SetMuscle gave activation result " + std::to_string(status);
        return false;
    }
    if (!modeler.panels.problems.empty() || modeler.panels.scriptsLeft() != 0) {
        error = "SetMuscle's panels did not go as an artist's clicks would: " +
                (modeler.panels.problems.empty() ? std::string("a panel never opened") : modeler.panels.problems[0]);
        return false;
    }
    return true;
}

bool runSetMuscle(const host::ModuleFile& module, host::Modeler& modeler, const std::vector<RigMuscle>& muscles,
                  std::string& error) {
    // The reference chooser offers every skelegon of the primary layer in scan order.
    std::map<std::string, int> choice;  // the first of a name, as the artist would pick it
    int offered = 0;
    for (auto& polygon : modeler.object.primary().polygons)
        if (polygon->type == sinewrig::kSkelegonType) choice.emplace(nameOf(*polygon), offered++);
    std::map<std::string, const RigMuscle*> muscleFor;
    for (const RigMuscle& m : muscles) muscleFor[m.skelegon] = &m;
    SetMuscleClicks clicks;
    int row = 0;
    for (auto& polygon : modeler.object.primary().polygons) {
        if (polygon->type != sinewrig::kSkelegonType) continue;
        const std::string name = nameOf(*polygon);
        const auto found = name.empty() ? muscleFor.end() : muscleFor.find(name);
        polygon->selected = found != muscleFor.end();
        if (!polygon->selected) continue;
        const RigMuscle& muscle = *found->second;
        int reference = -1;
        if (muscle.reference) {
            const auto chosen = choice.find(*muscle.reference);
            if (chosen == choice.end()) {
                error = "\"" + *muscle.reference + "\" is no skelegon of the primary layer";
                return false;
            }
            reference = chosen->second;
        }
        clicks.row(row++, muscle, reference);
    }
    return playSetMuscle(module, modeler, std::move(clicks), error);
}

}  // namespace sinewrig_tool
