#include "host/layout/object_info.h"

#include "host/layout/layout.h"

namespace host {

namespace {

const Item* object(LWItemID id, const char* function, int argument = 0) {
    Layout& layout = *Layout::active();
    layout.log.record(function, id, argument);
    const Item* item = layout.scene.find(id);
    return item && item->type == LWI_OBJECT ? item : nullptr;
}

const char* filename(LWItemID id) {
    const Item* item = object(id, "filename");
    return !item ? nullptr : item->file.empty() ? item->name.c_str() : item->file.c_str();
}

int numPoints(LWItemID id) {
    const Item* item = object(id, "numPoints");
    return item && item->mesh ? static_cast<int>(item->mesh->points.size()) : 0;
}

int numPolygons(LWItemID id) {
    const Item* item = object(id, "numPolygons");
    return item && item->mesh ? static_cast<int>(item->mesh->polygons.size()) : 0;
}

unsigned int shadowOpts(LWItemID id) { return object(id, "shadowOpts"), 0u; }

double dissolve(LWItemID id, LWTime) { return object(id, "dissolve"), 0.0; }

// Null for an item that is not an object with a mesh.
LWMeshInfoID meshInfo(LWItemID id, int frozen) {
    const Item* item = object(id, "meshInfo", frozen);
    if (!item || !item->mesh) return nullptr;
    return Layout::active()->meshViews.open(id, item->mesh);
}

LWObjectInfo record = {filename, numPoints, numPolygons, shadowOpts, dissolve, meshInfo};

}  // namespace

LWObjectInfo* objectInfoRecord() { return &record; }

}  // namespace host
