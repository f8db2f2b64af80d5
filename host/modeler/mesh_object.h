// The stand-in Modeler's object: layers of points and polygons. Each polygon
// has a type, a selected flag and tags by tag type; skelegons are BONE
// polygons of two points, pivot then tip. IDs are the records' addresses.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "abi/lw_host.h"

namespace host {

constexpr LWID kFacePolygon = LWID_('F', 'A', 'C', 'E');
constexpr LWID kBoneNameTag = LWID_('B', 'O', 'N', 'E');  // a skelegon's name as later releases write it

struct MeshPoint {
    double position[3];
};

struct MeshPolygon {
    LWID type = kFacePolygon;
    std::vector<LWPntID> points;
    bool selected = false;
    std::string surface = "Default";
    std::map<LWID, std::string> tags;

    // Null when the polygon has no such tag. A skelegon without a PART tag is
    // known by its BONE tag, as later releases of the host name them.
    const char* tag(LWID tagType) const;
};

struct MeshLayer {
    int number = 1;  // as the artist sees it, from 1
    std::string name;
    double pivot[3] = {0, 0, 0};
    bool hidden = false;
    int parent = -1;  // the parent layer's number in the file (from 0), or -1
    std::vector<std::unique_ptr<MeshPoint>> points;
    std::vector<std::unique_ptr<MeshPolygon>> polygons;
};

class MeshObject {
public:
    // Layer at `index` (from 0), made with all layers before it when missing.
    MeshLayer& layer(int index);
    MeshLayer& primary() { return layer(primaryLayer); }
    int layerCount() const { return static_cast<int>(layers_.size()); }
    const MeshLayer& layerAt(int index) const { return layers_[index]; }  // index below layerCount()
    int primaryLayer = 0;

    LWPntID addPoint(int layer, double x, double y, double z);
    LWPolID addPolygon(int layer, LWID type, const std::vector<LWPntID>& points, bool selected);
    // A BONE polygon from `pivot` to `tip`, named by its PART tag unless `part` is null.
    LWPolID addSkelegon(int layer, const char* part, bool selected, const double pivot[3] = nullptr,
                        const double tip[3] = nullptr);

    MeshPolygon* polygon(LWPolID id);
    const MeshPolygon* polygon(LWPolID id) const;
    const char* tag(LWPolID id, LWID tagType) const;  // null for no such polygon or tag

private:
    std::vector<MeshLayer> layers_;
    std::unordered_map<LWPolID, MeshPolygon*> polygons_;  // every layer's, by ID
};

}  // namespace host
