#include "tools/sinewrig/set_muscle_clicks.h"

#include "host/text/cp932.h"

namespace sinewrig_tool {

namespace {

// Where a click lands in each column of SetMuscle's list, as an artist clicks.
constexpr int kReferenceX = 180, kPreserveVolumeX = 270, kAfterIKX = 330;

std::string nameOf(const host::MeshPolygon& polygon) {
    const char* name = polygon.tag(LWPTAG_PART);
    return name ? host::utf8FromCp932(name) : std::string();
}

}  // namespace

bool runSetMuscle(const host::ModuleFile& module, host::Modeler& modeler, const std::vector<RigMuscle>& muscles,
                  std::string& error) {
    // The reference chooser offers every skelegon of the primary layer in scan order.
    std::vector<std::string> choices;
    host::OpenScript list = host::pressOk();
    std::vector<host::OpenScript> choosers;
    for (auto& polygon : modeler.object.primary().polygons)
        if (polygon->type == LWPOLTYPE_BONE) choices.push_back(nameOf(*polygon));
    int row = 0;
    for (auto& polygon : modeler.object.primary().polygons) {
        if (polygon->type != LWPOLTYPE_BONE) continue;
        const std::string name = nameOf(*polygon);
        const RigMuscle* muscle = nullptr;
        for (const RigMuscle& m : muscles)
            if (!name.empty() && m.skelegon == name) muscle = &m;
        polygon->selected = muscle != nullptr;
        if (!muscle) continue;
        if (muscle->reference) {
            std::size_t index = 0;
            while (index < choices.size() && choices[index] != *muscle->reference) ++index;
            if (index == choices.size()) {
                error = "\"" + *muscle->reference + "\" is no skelegon of the primary layer";
                return false;
            }
            list.actions.push_back(host::clickCell(row, kReferenceX));
            choosers.push_back(host::pressOk({host::chooseItem(static_cast<int>(index))}));
        }
        if (muscle->preserveVolume) list.actions.push_back(host::clickCell(row, kPreserveVolumeX));
        if (!muscle->afterIK) list.actions.push_back(host::clickCell(row, kAfterIKX));
        ++row;
    }
    modeler.panels.queue(std::move(list));
    for (host::OpenScript& chooser : choosers) modeler.panels.queue(std::move(chooser));

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

}  // namespace sinewrig_tool
