#include "host/layout/mesh_info.h"

#include <algorithm>
#include <cstring>

#include "host/layout/layout.h"

namespace host {

namespace {

std::string tagText(LWID tag) {
    const char text[5] = {char(tag >> 24), char(tag >> 16), char(tag >> 8), char(tag), '\0'};
    return text;
}

// The view behind a mesh ID, noting a call after destroy; null for no view at all.
MeshView* viewOf(LWMeshInfoID id, const char* function, LWID tag = 0) {
    Layout::active()->log.record(function, nullptr, 0, 0.0, tag ? tagText(tag).c_str() : "");
    auto* view = id ? static_cast<MeshView*>(id->priv) : nullptr;
    if (!view) return nullptr;
    if (view->destroyed) view->views->problem("mesh view " + std::to_string(view->number) + ": " + function + " after destroy");
    return view;
}

void destroy(LWMeshInfoID id) {
    MeshView* view = viewOf(id, "destroy");
    if (view) view->destroyed = true;
}

int numPoints(LWMeshInfoID id) {
    MeshView* view = viewOf(id, "numPoints");
    return view ? static_cast<int>(view->mesh->points.size()) : 0;
}

int numPolygons(LWMeshInfoID id) {
    MeshView* view = viewOf(id, "numPolygons");
    return view ? static_cast<int>(view->mesh->polygons.size()) : 0;
}

size_t scanPoints(LWMeshInfoID id, LWPntScanFunc* func, void* data) {
    MeshView* view = viewOf(id, "scanPoints");
    if (!view || !func) return 0;
    for (const auto& point : view->mesh->points)
        if (size_t result = func(data, const_cast<ObjectMesh::Point*>(point.get()))) return result;
    return 0;
}

size_t scanPolys(LWMeshInfoID id, LWPolScanFunc* func, void* data) {
    MeshView* view = viewOf(id, "scanPolys");
    if (!view || !func) return 0;
    for (const auto& polygon : view->mesh->polygons)
        if (size_t result = func(data, const_cast<ObjectMesh::Polygon*>(polygon.get()))) return result;
    return 0;
}

void pntPos(LWMeshInfoID id, LWPntID point, float pos[3], const char* function) {
    MeshView* view = viewOf(id, function);
    const ObjectMesh::Point* found = view ? view->mesh->point(point) : nullptr;
    for (int axis = 0; axis < 3; ++axis) pos[axis] = found ? found->position[axis] : 0.0f;
}
void pntBasePos(LWMeshInfoID id, LWPntID point, float pos[3]) { pntPos(id, point, pos, "pntBasePos"); }
void pntOtherPos(LWMeshInfoID id, LWPntID point, float pos[3]) { pntPos(id, point, pos, "pntOtherPos"); }

// The stand-in's meshes have no vertex maps.
void* pntVLookup(LWMeshInfoID id, LWID, const char*) { return viewOf(id, "pntVLookup"), nullptr; }
int pntVSelect(LWMeshInfoID id, void*) { return viewOf(id, "pntVSelect"), 0; }
int pntVGet(LWMeshInfoID id, LWPntID, float*) { return viewOf(id, "pntVGet"), 0; }

const ObjectMesh::Polygon* polygonOf(LWMeshInfoID id, LWPolID polygon, const char* function, LWID tag = 0) {
    MeshView* view = viewOf(id, function, tag);
    const ObjectMesh::Polygon* found = view ? view->mesh->polygon(polygon) : nullptr;
    if (view && !found) view->views->problem(std::string(function) + " of a polygon not in mesh view " + std::to_string(view->number));
    return found;
}

LWID polType(LWMeshInfoID id, LWPolID polygon) {
    const ObjectMesh::Polygon* found = polygonOf(id, polygon, "polType");
    return found ? found->type : 0;
}

int polSize(LWMeshInfoID id, LWPolID polygon) {
    const ObjectMesh::Polygon* found = polygonOf(id, polygon, "polSize");
    return found ? static_cast<int>(found->points.size()) : 0;
}

LWPntID polVertex(LWMeshInfoID id, LWPolID polygon, int vertex) {
    const ObjectMesh::Polygon* found = polygonOf(id, polygon, "polVertex");
    if (!found || vertex < 0 || vertex >= static_cast<int>(found->points.size())) return nullptr;
    return const_cast<ObjectMesh::Point*>(found->points[vertex]);
}

const char* polTag(LWMeshInfoID id, LWPolID polygon, LWID tag) {
    const ObjectMesh::Polygon* found = polygonOf(id, polygon, "polTag", tag);
    return found ? found->tag(tag) : nullptr;
}

}  // namespace

LWMeshInfo* MeshViews::open(LWItemID object, std::shared_ptr<const ObjectMesh> mesh) {
    auto view = std::make_unique<MeshView>();
    view->views = this;
    view->number = static_cast<int>(views_.size()) + 1;
    view->object = object;
    view->mesh = std::move(mesh);
    LWMeshInfo& info = view->info;
    info.priv = view.get();
    info.destroy = destroy;
    info.numPoints = numPoints;
    info.numPolygons = numPolygons;
    info.scanPoints = scanPoints;
    info.scanPolys = scanPolys;
    info.pntBasePos = pntBasePos;
    info.pntOtherPos = pntOtherPos;
    info.pntVLookup = pntVLookup;
    info.pntVSelect = pntVSelect;
    info.pntVGet = pntVGet;
    info.polType = polType;
    info.polSize = polSize;
    info.polVertex = polVertex;
    info.polTag = polTag;
    views_.push_back(std::move(view));
    return &views_.back()->info;
}

void MeshViews::releaseDestroyed() {
    views_.erase(std::remove_if(views_.begin(), views_.end(), [](const auto& view) { return view->destroyed; }),
                 views_.end());
}

std::vector<std::string> MeshViews::problems() const {
    std::vector<std::string> all = misuse_;
    for (const auto& view : views_)
        if (!view->destroyed) all.push_back("mesh view " + std::to_string(view->number) + " never destroyed");
    return all;
}

}  // namespace host
