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

// The tips of a layer's skelegons, each point once with the longest
// skelegon ending there, by their place along the axis the tips spread
// widest on: a pivot's near tips are then a short run of them, even for a
// rig lying in one plane or a fan of skelegons ending at one point.
class TipsByPlace {
public:
    TipsByPlace(const Rig& rig, const std::vector<std::size_t>& members) : rig_(rig) {
        std::map<Point3, std::size_t> longestAt;
        for (std::size_t member : members) {
            auto [at, added] = longestAt.emplace(rig.skelegons[member].tip, member);
            if (!added && length(member) > length(at->second)) at->second = member;
        }
        for (const auto& [tip, member] : longestAt) tips_.push_back(member);
        double widest = -1;
        for (int axis = 0; axis < 3; ++axis) {
            const auto [low, high] = std::minmax_element(tips_.begin(), tips_.end(), [&](std::size_t a, std::size_t b) {
                return rig.skelegons[a].tip[axis] < rig.skelegons[b].tip[axis];
            });
            const double spread = tips_.empty() ? 0 : rig.skelegons[*high].tip[axis] - rig.skelegons[*low].tip[axis];
            if (spread > widest) widest = spread, axis_ = axis;
        }
        std::sort(tips_.begin(), tips_.end(), [&](std::size_t a, std::size_t b) { return along(a) < along(b); });
        for (std::size_t tip : tips_) reach_ = std::max(reach_, kNearTip * length(tip));
    }

    // The skelegon whose tip is nearest the pivot of `member` while within
    // kNearTip of its own length and not exactly on it; -1 when none is.
    int nearMiss(std::size_t member) const {
        const Point3& pivot = rig_.skelegons[member].pivot;
        auto it = std::lower_bound(tips_.begin(), tips_.end(), pivot[axis_] - reach_,
                                   [&](std::size_t s, double place) { return along(s) < place; });
        int nearest = -1;
        double nearestDistance = 0;
        for (; it != tips_.end() && along(*it) <= pivot[axis_] + reach_; ++it) {
            const double apart = distance(pivot, rig_.skelegons[*it].tip);
            if (*it == member || apart == 0 || apart > kNearTip * length(*it)) continue;
            if (nearest < 0 || apart < nearestDistance) {
                nearest = static_cast<int>(*it);
                nearestDistance = apart;
            }
        }
        return nearest;
    }

private:
    double length(std::size_t s) const { return distance(rig_.skelegons[s].pivot, rig_.skelegons[s].tip); }
    double along(std::size_t s) const { return rig_.skelegons[s].tip[axis_]; }

    const Rig& rig_;
    std::vector<std::size_t> tips_;
    int axis_ = 0;
    double reach_ = 0;
};

void warnAboutNearMisses(const Rig& rig, const std::vector<std::size_t>& members, const std::vector<int>& parents,
                         std::vector<std::string>& warnings) {
    const TipsByPlace tips(rig, members);
    for (std::size_t in = 0; in < members.size(); ++in) {
        const RigSkelegon& s = rig.skelegons[members[in]];
        if (parents[in] >= 0 || s.parent) continue;
        const int near = tips.nearMiss(members[in]);
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
