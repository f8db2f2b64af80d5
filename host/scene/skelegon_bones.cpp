#include "host/scene/skelegon_bones.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "host/geometry/rigid_transform.h"

namespace host {

namespace {

using Vector = Vector3;
using Rotation = Rotation3;

struct Skelegon {
    const ObjectMesh::Polygon* polygon;
    Vector pivot, tip;
    Rotation rotation;  // in the object's frame: +Z along the skelegon
    int parent = -1;    // index of the parent skelegon, -1: the object
};

Vector pointOf(const ObjectMesh::Point* point) {
    return {point->position[0], point->position[1], point->position[2]};
}

Rotation aimedAlong(const Vector& d) {
    const double across = std::hypot(d[0], d[2]);
    if (across == 0.0 && d[1] == 0.0) return rotationFromHPB(0, 0, 0);
    return rotationFromHPB(across == 0.0 ? 0.0 : std::atan2(d[0], d[2]), -std::atan2(d[1], across), 0.0);
}

}  // namespace

std::vector<int> skelegonParents(const std::vector<Vector3>& pivots, const std::vector<Vector3>& tips) {
    std::map<Vector, int> endingAt;  // the first skelegon ending at each point
    for (int j = static_cast<int>(tips.size()) - 1; j >= 0; --j) endingAt[tips[j]] = j;
    std::vector<int> parents(pivots.size(), -1);
    for (int i = 0; i < static_cast<int>(pivots.size()); ++i) {
        auto ending = endingAt.find(pivots[i]);
        if (ending != endingAt.end() && ending->second != i) parents[i] = ending->second;
    }
    return parents;
}

// Every chain is walked once, so long chains cost no more than short.
std::vector<std::vector<int>> parentLoops(const std::vector<int>& parents) {
    std::vector<std::vector<int>> loops;
    std::vector<int> walk(parents.size(), -1);  // the walk that reached a skelegon first
    for (int start = 0; start < static_cast<int>(parents.size()); ++start) {
        int at = start;
        while (at != -1 && walk[at] == -1) {
            walk[at] = start;
            at = parents[at];
        }
        if (at == -1 || walk[at] != start) continue;  // ended at the object, or in a chain walked before
        std::vector<int> loop{at};
        for (int in = parents[at]; in != at; in = parents[in]) loop.push_back(in);
        loops.push_back(std::move(loop));
    }
    return loops;
}

int loopBreak(const std::vector<int>& loop) { return *std::max_element(loop.begin(), loop.end()); }

std::vector<LWItemID> makeSkelegonBones(Scene& scene, LWItemID object) {
    const Item* owner = scene.find(object);
    if (!owner || !owner->mesh) return {};
    const std::shared_ptr<const ObjectMesh> mesh = owner->mesh;

    std::vector<Skelegon> skelegons;
    for (const auto& polygon : mesh->polygons) {
        if (polygon->type != LWID_('B', 'O', 'N', 'E') || polygon->points.size() < 2) continue;
        Skelegon s{polygon.get(), pointOf(polygon->points[0]), pointOf(polygon->points[1]), {}};
        s.rotation = aimedAlong({s.tip[0] - s.pivot[0], s.tip[1] - s.pivot[1], s.tip[2] - s.pivot[2]});
        skelegons.push_back(s);
    }
    std::vector<Vector> pivots, tips;
    for (const Skelegon& s : skelegons) {
        pivots.push_back(s.pivot);
        tips.push_back(s.tip);
    }
    std::vector<int> parents = skelegonParents(pivots, tips);
    for (const std::vector<int>& loop : parentLoops(parents)) parents[loopBreak(loop)] = -1;
    for (std::size_t i = 0; i < skelegons.size(); ++i) skelegons[i].parent = parents[i];
    std::vector<LWItemID> bones;
    for (const Skelegon& s : skelegons) {
        const char* part = s.polygon->tag(LWID_('P', 'A', 'R', 'T'));
        bones.push_back(scene.addItem(LWI_BONE, part ? part : "Bone", object, object));
    }
    for (std::size_t i = 0; i < skelegons.size(); ++i) {
        const Skelegon& s = skelegons[i];
        Vector position = s.pivot;
        Rotation rotation = s.rotation;
        if (s.parent >= 0) {
            // Relative to the parent bone: its pivot, turned back by its rotation.
            const Skelegon& up = skelegons[s.parent];
            const Rotation back = transpose(up.rotation);
            position = rotate({s.pivot[0] - up.pivot[0], s.pivot[1] - up.pivot[1], s.pivot[2] - up.pivot[2]}, back);
            rotation = multiply(s.rotation, back);
        }
        Item* bone = scene.find(bones[i]);
        bone->parent = s.parent >= 0 ? bones[s.parent] : object;
        const Vector hpb = hpbFromRotation(rotation);
        scene.setValue(bones[i], LWIP_POSITION, position.data());
        scene.setValue(bones[i], LWIP_ROTATION, hpb.data());
        bone->restLength = std::sqrt((s.tip[0] - s.pivot[0]) * (s.tip[0] - s.pivot[0]) +
                                     (s.tip[1] - s.pivot[1]) * (s.tip[1] - s.pivot[1]) +
                                     (s.tip[2] - s.pivot[2]) * (s.tip[2] - s.pivot[2]));
    }
    return bones;
}

}  // namespace host
