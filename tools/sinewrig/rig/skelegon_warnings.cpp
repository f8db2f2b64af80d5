#include "tools/sinewrig/rig/skelegon_warnings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "host/scene/skelegon_bones.h"
#include "host/text/text_format.h"

namespace sinewrig_tool {

namespace {

// A pivot this near another skelegon's tip, as a share of that skelegon's
// length, was most likely meant to be on it.
constexpr double kNearTip = 1e-4;

double distance(const Point3& a, const Point3& b) { return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]); }

std::string skelegonAt(const Rig& rig, std::size_t i) {
    return "skelegons[" + std::to_string(i) + "] " + host::quoted(rig.skelegons[i].name);
}

// Of the layer's skelegons `members`, the one whose tip is nearest the pivot
// of `member` while within kNearTip of its own length and not exactly on it;
// -1 when none is. `byTipX`: the members by their tip's x.
int nearMiss(const Rig& rig, const std::vector<std::size_t>& byTipX, double reach, std::size_t member) {
    const Point3& pivot = rig.skelegons[member].pivot;
    auto from = std::lower_bound(byTipX.begin(), byTipX.end(), pivot[0] - reach,
                                 [&](std::size_t s, double x) { return rig.skelegons[s].tip[0] < x; });
    int nearest = -1;
    double nearestDistance = 0;
    for (auto it = from; it != byTipX.end() && rig.skelegons[*it].tip[0] <= pivot[0] + reach; ++it) {
        const RigSkelegon& other = rig.skelegons[*it];
        const double apart = distance(pivot, other.tip);
        if (*it == member || apart == 0 || apart > kNearTip * distance(other.pivot, other.tip)) continue;
        if (nearest < 0 || apart < nearestDistance) nearest = static_cast<int>(*it), nearestDistance = apart;
    }
    return nearest;
}

void warnAboutNearMisses(const Rig& rig, const std::vector<std::size_t>& members, const std::vector<int>& parents,
                         std::vector<std::string>& warnings) {
    std::vector<std::size_t> byTipX = members;
    std::sort(byTipX.begin(), byTipX.end(),
              [&](std::size_t a, std::size_t b) { return rig.skelegons[a].tip[0] < rig.skelegons[b].tip[0]; });
    double longest = 0;
    for (std::size_t member : members) longest = std::max(longest, distance(rig.skelegons[member].pivot, rig.skelegons[member].tip));
    for (std::size_t in = 0; in < members.size(); ++in) {
        const RigSkelegon& s = rig.skelegons[members[in]];
        if (parents[in] >= 0 || s.parent) continue;
        const int near = nearMiss(rig, byTipX, kNearTip * longest, members[in]);
        if (near < 0) continue;
        char apart[32];
        std::snprintf(apart, sizeof apart, "%.3g", distance(s.pivot, rig.skelegons[near].tip));
        warnings.push_back(skelegonAt(rig, members[in]) + ": its pivot is " + apart + " from the tip of " +
                           host::quoted(rig.skelegons[near].name) +
                           " but not on it, so its bone hangs from the object, not from " +
                           host::quoted(rig.skelegons[near].name) + "'s bone; put the pivot exactly on the tip or give " +
                           "\"parent\"");
    }
}

}  // namespace

void warnAboutSkelegons(const Rig& rig, std::vector<std::string>& warnings) {
    std::map<int, std::vector<std::size_t>> byLayer;
    for (std::size_t i = 0; i < rig.skelegons.size(); ++i) {
        const RigSkelegon& s = rig.skelegons[i];
        if (s.pivot == s.tip) warnings.push_back(skelegonAt(rig, i) + " has zero length (its pivot is its tip): its bone cannot aim");
        byLayer[s.layer].push_back(i);
    }
    for (const auto& [layer, members] : byLayer) {
        std::vector<host::Vector3> pivots, tips;
        for (std::size_t member : members) {
            pivots.push_back(rig.skelegons[member].pivot);
            tips.push_back(rig.skelegons[member].tip);
        }
        const std::vector<int> parents = host::skelegonParents(pivots, tips);
        for (const std::vector<int>& loop : host::parentLoops(parents)) {
            // A chosen parent in the loop takes the place of the one that closes it.
            if (std::any_of(loop.begin(), loop.end(), [&](int in) { return rig.skelegons[members[in]].parent.has_value(); }))
                continue;
            std::string names;
            for (int in : loop) names += (names.empty() ? "" : ", ") + host::quoted(rig.skelegons[members[in]].name);
            warnings.push_back("skelegons " + names + " end in each other (a parent loop): the bone of " +
                               host::quoted(rig.skelegons[members[host::loopBreak(loop)]].name) +
                               " is left without a parent bone");
        }
        warnAboutNearMisses(rig, members, parents, warnings);
    }
}

}  // namespace sinewrig_tool
