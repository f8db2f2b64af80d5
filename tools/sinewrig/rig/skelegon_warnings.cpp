#include "tools/sinewrig/rig/skelegon_warnings.h"

#include <map>

#include "host/scene/skelegon_bones.h"
#include "host/text/text_format.h"

namespace sinewrig_tool {

void warnAboutSkelegons(const Rig& rig, std::vector<std::string>& warnings) {
    std::map<int, std::vector<std::size_t>> byLayer;
    for (std::size_t i = 0; i < rig.skelegons.size(); ++i) {
        const RigSkelegon& s = rig.skelegons[i];
        if (s.pivot == s.tip)
            warnings.push_back("skelegons[" + std::to_string(i) + "] " + host::quoted(s.name) +
                               " has zero length (its pivot is its tip): its bone cannot aim");
        byLayer[s.layer].push_back(i);
    }
    for (const auto& [layer, members] : byLayer) {
        std::vector<host::Vector3> pivots, tips;
        for (std::size_t member : members) {
            pivots.push_back(rig.skelegons[member].pivot);
            tips.push_back(rig.skelegons[member].tip);
        }
        for (const std::vector<int>& loop : host::parentLoops(host::skelegonParents(pivots, tips))) {
            std::string names;
            for (int in : loop) names += (names.empty() ? "" : ", ") + host::quoted(rig.skelegons[members[in]].name);
            warnings.push_back("skelegons " + names + " end in each other (a parent loop): the bone of " +
                               host::quoted(rig.skelegons[members[host::loopBreak(loop)]].name) +
                               " is left without a parent bone");
        }
    }
}

}  // namespace sinewrig_tool
