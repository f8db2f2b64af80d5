#include "host/modeler/mesh_object.h"

namespace host {

const char* MeshPolygon::tag(LWID tagType) const {
    auto found = tags.find(tagType);
    if (found == tags.end() && tagType == LWPTAG_PART && type == LWPOLTYPE_BONE) found = tags.find(kBoneNameTag);
    return found == tags.end() ? nullptr : found->second.c_str();
}

MeshLayer& MeshObject::layer(int index) {
    while (static_cast<int>(layers_.size()) <= index) {
        layers_.emplace_back();
        layers_.back().number = static_cast<int>(layers_.size());
    }
    return layers_[index];
}

LWPntID MeshObject::addPoint(int index, double x, double y, double z) {
    auto& points = layer(index).points;
    points.push_back(std::make_unique<MeshPoint>(MeshPoint{{x, y, z}}));
    return points.back().get();
}

LWPolID MeshObject::addPolygon(int index, LWID type, const std::vector<LWPntID>& points, bool selected) {
    auto& polygons = layer(index).polygons;
    auto polygon = std::make_unique<MeshPolygon>();
    polygon->type = type;
    polygon->points = points;
    polygon->selected = selected;
    polygons.push_back(std::move(polygon));
    polygons_[polygons.back().get()] = polygons.back().get();
    return polygons.back().get();
}

LWPolID MeshObject::addSkelegon(int index, const char* part, bool selected, const double pivot[3],
                                const double tip[3]) {
    static const double origin[3] = {0, 0, 0}, up[3] = {0, 1, 0};
    if (!pivot) pivot = origin;
    if (!tip) tip = up;
    LWPntID from = addPoint(index, pivot[0], pivot[1], pivot[2]);
    LWPntID to = addPoint(index, tip[0], tip[1], tip[2]);
    LWPolID id = addPolygon(index, LWPOLTYPE_BONE, {from, to}, selected);
    if (part) polygon(id)->tags[LWPTAG_PART] = part;
    return id;
}

MeshPolygon* MeshObject::polygon(LWPolID id) {
    return const_cast<MeshPolygon*>(static_cast<const MeshObject*>(this)->polygon(id));
}

const MeshPolygon* MeshObject::polygon(LWPolID id) const {
    auto found = polygons_.find(id);
    return found == polygons_.end() ? nullptr : found->second;
}

const char* MeshObject::tag(LWPolID id, LWID tagType) const {
    const MeshPolygon* found = polygon(id);
    return found ? found->tag(tagType) : nullptr;
}

}  // namespace host
