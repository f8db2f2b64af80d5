#include "host/scene/object_mesh.h"

#include <unordered_map>

#include "host/modeler/mesh_object.h"

namespace host {

const char* ObjectMesh::Polygon::tag(LWID tagType) const {
    auto found = tags.find(tagType);
    // Skelegons named only by a BONE tag give that name as their PART, as in Modeler.
    if (found == tags.end() && tagType == LWPTAG_PART && type == LWPOLTYPE_BONE) found = tags.find(kBoneNameTag);
    return found == tags.end() ? nullptr : found->second.c_str();
}

std::shared_ptr<const ObjectMesh> ObjectMesh::fromLayer(const MeshLayer& layer) {
    auto mesh = std::make_shared<ObjectMesh>();
    std::unordered_map<const MeshPoint*, const Point*> points;
    for (const auto& source : layer.points) {
        auto point = std::make_unique<Point>();
        for (int axis = 0; axis < 3; ++axis) point->position[axis] = static_cast<float>(source->position[axis]);
        points[source.get()] = point.get();
        mesh->pointIds_.insert(point.get());
        mesh->points.push_back(std::move(point));
    }
    for (const auto& source : layer.polygons) {
        auto polygon = std::make_unique<Polygon>();
        polygon->type = source->type;
        for (LWPntID id : source->points)
            if (auto found = points.find(static_cast<const MeshPoint*>(id)); found != points.end())
                polygon->points.push_back(found->second);
        polygon->tags = source->tags;
        mesh->polygonIds_.insert(polygon.get());
        mesh->polygons.push_back(std::move(polygon));
    }
    return mesh;
}

const ObjectMesh::Point* ObjectMesh::point(LWPntID id) const {
    return pointIds_.count(id) ? static_cast<const Point*>(id) : nullptr;
}

const ObjectMesh::Polygon* ObjectMesh::polygon(LWPolID id) const {
    return polygonIds_.count(id) ? static_cast<const Polygon*>(id) : nullptr;
}

}  // namespace host
