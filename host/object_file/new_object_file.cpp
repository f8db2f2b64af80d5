#include "host/object_file/new_object_file.h"

#include <map>
#include <unordered_map>

#include "host/object_file/object_bytes.h"
#include "host/object_file/object_file.h"

namespace host {

namespace {

// A zero-ended string padded to an even length.
void putString(std::string& out, const std::string& text) {
    out += text;
    out += '\0';
    if ((text.size() + 1) % 2) out += '\0';
}

void putChunk(std::string& out, const char* id, const std::string& data) {
    out.append(id, 4);
    putU4(out, static_cast<std::uint32_t>(data.size()));
    out += data;
    if (data.size() % 2) out += '\0';
}

std::string idBytes(LWID id) {
    return {static_cast<char>(id >> 24), static_cast<char>(id >> 16), static_cast<char>(id >> 8), static_cast<char>(id)};
}

}  // namespace

std::vector<char> bareObjectBytes(const MeshObject& mesh) {
    std::map<std::string, std::uint32_t> surfaces;
    std::string tags;
    for (int l = 0; l < mesh.layerCount(); ++l)
        for (const auto& polygon : mesh.layerAt(l).polygons)
            if (surfaces.emplace(polygon->surface, static_cast<std::uint32_t>(surfaces.size())).second)
                putString(tags, polygon->surface);
    std::string chunks;
    putChunk(chunks, "TAGS", tags);
    for (int l = 0; l < mesh.layerCount(); ++l) {
        const MeshLayer& layer = mesh.layerAt(l);
        std::string data;
        putU2(data, static_cast<std::uint32_t>(layer.number - 1));
        putU2(data, layer.hidden ? 1 : 0);
        for (double axis : layer.pivot) putFloat(data, axis);
        putString(data, layer.name);
        if (layer.parent >= 0) putU2(data, static_cast<std::uint32_t>(layer.parent));
        putChunk(chunks, "LAYR", data);

        std::unordered_map<const MeshPoint*, std::uint32_t> pointIndex;
        data.clear();
        for (const auto& point : layer.points) {
            pointIndex.emplace(point.get(), static_cast<std::uint32_t>(pointIndex.size()));
            for (double axis : point->position) putFloat(data, axis);
        }
        putChunk(chunks, "PNTS", data);
        // One POLS chunk per run of polygons of one type, each with its surfaces.
        for (std::size_t from = 0; from < layer.polygons.size();) {
            const LWID type = layer.polygons[from]->type;
            std::string polygons = idBytes(type), surfaceTags = "SURF";
            std::uint32_t inChunk = 0;
            for (; from < layer.polygons.size() && layer.polygons[from]->type == type; ++from, ++inChunk) {
                const MeshPolygon& polygon = *layer.polygons[from];
                putU2(polygons, static_cast<std::uint32_t>(polygon.points.size()) & 0x3FF);
                for (LWPntID point : polygon.points) putIndex(polygons, pointIndex.at(static_cast<const MeshPoint*>(point)));
                putIndex(surfaceTags, inChunk);
                putU2(surfaceTags, surfaces.at(polygon.surface));
            }
            putChunk(chunks, "POLS", polygons);
            putChunk(chunks, "PTAG", surfaceTags);
        }
    }
    std::string file = "FORM";
    putU4(file, static_cast<std::uint32_t>(chunks.size() + 4));
    file += "LWO2";
    file += chunks;
    return {file.begin(), file.end()};
}

bool copyPolygonTags(const MeshObject& from, MeshObject& to) {
    if (from.layerCount() != to.layerCount()) return false;
    for (int l = 0; l < from.layerCount(); ++l) {
        const auto& source = from.layerAt(l).polygons;
        const auto& target = to.layer(l).polygons;
        if (source.size() != target.size()) return false;
        for (std::size_t i = 0; i < source.size(); ++i)
            for (const auto& [type, text] : source[i]->tags) target[i]->tags[type] = text;
    }
    return true;
}

bool writeNewObjectFile(const MeshObject& mesh, std::ostream& out, std::string& error) {
    ObjectFile file;
    MeshObject bare;
    if (!readObjectFile(bareObjectBytes(mesh), file, bare, error)) return false;
    if (!copyPolygonTags(mesh, bare)) {
        error = "the object's layers did not come back from its file";
        return false;
    }
    return writeObjectFile(file, bare, out, error);
}

}  // namespace host
