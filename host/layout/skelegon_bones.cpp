#include "host/layout/skelegon_bones.h"

#include <cmath>
#include <map>

#include "host/layout/rigid_transform.h"

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

bool isAncestor(const std::vector<Skelegon>& skelegons, int ancestor, int of) {
    for (int at = of; at != -1; at = skelegons[at].parent)
        if (at == ancestor) return true;
    return false;
}

}  // namespace

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
    // The first skelegon ending where one starts is its parent, unless that would close a loop.
    std::map<Vector, std::vector<int>> endingAt;
    for (int j = 0; j < static_cast<int>(skelegons.size()); ++j) endingAt[skelegons[j].tip].push_back(j);
    for (int i = 0; i < static_cast<int>(skelegons.size()); ++i) {
        auto ending = endingAt.find(skelegons[i].pivot);
        if (ending == endingAt.end()) continue;
        for (int j : ending->second)
            if (j != i && !isAncestor(skelegons, i, j)) {
                skelegons[i].parent = j;
                break;
            }
    }

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
