#include "tools/sinewrig/road/tagging.h"

#include <map>

#include "host/text/cp932.h"
#include "tools/sinewrig/rig/object_skelegons.h"
#include "tools/sinewrig/road/set_muscle_clicks.h"

namespace sinewrig_tool {

bool tagSkelegons(const Rig& rig, const host::ModuleFile& module, host::Modeler& modeler, RoadResult& result,
                  std::string& error) {
    modeler.object.primaryLayer = rig.primaryLayer - 1;
    std::vector<LWPolID> polygons;
    static const std::vector<RigSkelegon> kFromTheObject;
    if (!rig.objectFile.empty()) {
        std::vector<std::string> chosen;
        for (const RigMuscle& muscle : rig.muscles) chosen.push_back(muscle.skelegon);
        std::vector<RigSkelegon> skelegons;
        if (!loadObjectSkelegons(rig.objectFile, chosen, modeler.object, skelegons, polygons, error)) return false;
        for (std::size_t i = 0; i < polygons.size(); ++i) modeler.object.polygon(polygons[i])->selected = skelegons[i].selected;
        // Nothing to choose: the object's own tags are what ReadMuscle reads, as in Layout.
        if (rig.muscles.empty()) return result.tagsFromObject = true;
    }
    // The host holds its texts in code page 932; the rig file holds them in UTF-8.
    for (const RigSkelegon& s : rig.objectFile.empty() ? rig.skelegons : kFromTheObject) {
        std::string part;
        host::cp932FromUtf8(s.name, part);
        polygons.push_back(modeler.object.addSkelegon(s.layer - 1, part.c_str(), s.selected, s.pivot.data(), s.tip.data()));
    }

    // The list's rows are the selected skelegons of the primary layer; the
    // reference chooser offers every skelegon of it, both in layer order.
    std::map<std::string, int> choice;
    for (const RigSkelegon& s : rig.skelegons)
        if (s.layer == rig.primaryLayer) choice.emplace(s.name, static_cast<int>(choice.size()));
    std::map<std::string, const RigMuscle*> muscleFor;
    for (const RigMuscle& muscle : rig.muscles) muscleFor.emplace(muscle.skelegon, &muscle);
    SetMuscleClicks clicks;
    int row = 0;
    for (const RigSkelegon& s : rig.skelegons) {
        if (s.layer != rig.primaryLayer || !s.selected) continue;
        if (auto found = muscleFor.find(s.name); found != muscleFor.end())
            clicks.row(row, *found->second, found->second->reference ? choice.at(*found->second->reference) : -1);
        ++row;
    }
    if (!playSetMuscle(module, modeler, std::move(clicks), error)) return false;
    const auto& panels = modeler.panels.panels;
    const auto* table = panels.empty() || panels[0]->controls.empty()
                            ? nullptr
                            : dynamic_cast<const host::MultiListControl*>(panels[0]->controls[0].get());
    if (table) result.panelTable = host::utf8FromCp932(host::renderTable(table->view()));
    for (std::size_t i = 0; i < rig.skelegons.size(); ++i) {
        const RigSkelegon& s = rig.skelegons[i];
        if (s.layer != rig.primaryLayer || !s.selected) continue;
        result.tagsWritten.push_back(s.name + ": " + muscleTagsText(*modeler.object.polygon(polygons[i])));
    }
    return true;
}

}  // namespace sinewrig_tool
