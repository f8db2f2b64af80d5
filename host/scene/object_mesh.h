// An object's mesh as Layout holds it once the object is loaded: the points
// and polygons of one Modeler layer, with every polygon's type and tags. It
// does not change afterwards, so the IDs handed out (addresses of its points
// and polygons) stay valid as long as the object.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "abi/lw_host.h"

namespace host {

struct MeshLayer;

struct ObjectMesh {
    struct Point {
        float position[3];
    };
    struct Polygon {
        LWID type = 0;
        std::vector<const Point*> points;
        std::map<LWID, std::string> tags;

        const char* tag(LWID tagType) const;  // null when the polygon has no such tag
    };

    std::vector<std::unique_ptr<Point>> points;
    std::vector<std::unique_ptr<Polygon>> polygons;

    // The layer as the Modeler object holds it now, tags included.
    static std::shared_ptr<const ObjectMesh> fromLayer(const MeshLayer& layer);

    const Point* point(LWPntID id) const;      // null when not of this mesh
    const Polygon* polygon(LWPolID id) const;  // null when not of this mesh

private:
    std::unordered_set<const void*> pointIds_, polygonIds_;
};

}  // namespace host
