#include "tools/sinewrig/rig/skelegon_parents.h"

#include <map>
#include <optional>
#include <string>

#include "host/scene/skelegon_bones.h"
#include "host/text/text_format.h"
#include "tools/sinewrig/common/field_reader.h"
#include "tools/sinewrig/common/nearest_name.h"

namespace sinewrig_tool {

namespace {

std::string parentField(std::size_t skelegon) { return at(entryAt("skelegons", skelegon), "parent"); }

}  // namespace

std::vector<int> madeParents(const Rig& rig) {
    std::map<int, std::vector<int>> byLayer;
    for (std::size_t i = 0; i < rig.skelegons.size(); ++i) byLayer[rig.skelegons[i].layer].push_back(static_cast<int>(i));
    std::vector<int> parents(rig.skelegons.size(), -1);
    for (const auto& [layer, members] : byLayer) {
        std::vector<host::Vector3> pivots, tips;
        for (int member : members) {
            pivots.push_back(rig.skelegons[member].pivot);
            tips.push_back(rig.skelegons[member].tip);
        }
        std::vector<int> inLayer = host::skelegonParents(pivots, tips);
        for (const std::vector<int>& loop : host::parentLoops(inLayer)) inLayer[host::loopBreak(loop)] = -1;
        for (std::size_t i = 0; i < members.size(); ++i)
            if (inLayer[i] >= 0) parents[members[i]] = members[inLayer[i]];
    }
    return parents;
}

std::vector<int> chosenParents(const Rig& rig, const std::vector<int>& made) {
    std::map<std::string, int> byName;
    for (std::size_t i = 0; i < rig.skelegons.size(); ++i) byName.emplace(rig.skelegons[i].name, static_cast<int>(i));
    std::vector<int> parents = made;
    for (std::size_t i = 0; i < rig.skelegons.size(); ++i)
        if (const auto& parent = rig.skelegons[i].parent)
            if (auto found = byName.find(*parent); found != byName.end()) parents[i] = found->second;
    return parents;
}

void checkChosenParents(const Rig& rig) {
    std::map<std::string, std::size_t> byName;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < rig.skelegons.size(); ++i) {
        byName.emplace(rig.skelegons[i].name, i);
        names.push_back(rig.skelegons[i].name);
    }
    for (std::size_t i = 0; i < rig.skelegons.size(); ++i) {
        const RigSkelegon& s = rig.skelegons[i];
        if (!s.parent) continue;
        const auto found = byName.find(*s.parent);
        if (found == byName.end())
            throw FieldError{parentField(i), "unknown skelegon " + host::quoted(*s.parent) + "; did you mean " +
                                                 host::quoted(nearestName(*s.parent, names)) + "?"};
        if (found->second == i) throw FieldError{parentField(i), "a skelegon cannot hang from itself"};
        const RigSkelegon& parent = rig.skelegons[found->second];
        if (parent.layer != s.layer)
            throw FieldError{parentField(i), host::quoted(*s.parent) + " is on layer " + std::to_string(parent.layer) +
                                                 ", not on the skelegon's layer " + std::to_string(s.layer) +
                                                 ": a bone hangs only from a bone of its own object"};
    }
    // The bones Layout makes have no loop, so any loop now goes through a chosen parent.
    const std::vector<int> parents = chosenParents(rig, madeParents(rig));
    for (const std::vector<int>& loop : host::parentLoops(parents)) {
        std::string names;
        std::optional<std::size_t> chosen;
        for (int in : loop) {
            names += host::quoted(rig.skelegons[in].name) + ", ";
            if (rig.skelegons[in].parent && !chosen) chosen = static_cast<std::size_t>(in);
        }
        throw FieldError{parentField(chosen.value_or(loop[0])), "makes a loop of parents, each hanging from the next: " +
                                                                    names + host::quoted(rig.skelegons[loop[0]].name)};
    }
}

}  // namespace sinewrig_tool
