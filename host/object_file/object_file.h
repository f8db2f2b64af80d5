// An object file (LWO2) as the stand-in Modeler reads and rewrites it: every
// chunk's bytes are kept, the layers, points, polygons and polygon tags are
// loaded into a MeshObject, and on writing only the tags the mesh changed are
// rewritten; every other chunk goes back byte for byte and in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "host/modeler/mesh_object.h"

namespace host {

constexpr std::size_t kNoChunk = static_cast<std::size_t>(-1);

// One chunk of the FORM: where its ID starts and how many data bytes follow
// its 8-byte header (the pad byte of an odd length not counted).
struct FileChunk {
    LWID id = 0;
    std::size_t offset = 0;
    std::uint32_t length = 0;
};

// A LAYR chunk and the mesh layer it made.
struct FileLayer {
    std::size_t chunk = kNoChunk;  // kNoChunk: the layer of chunks before any LAYR
    int meshIndex = 0;             // the layer's number in the file, from 0
};

// A TAGS chunk's strings, in order: a PTAG's tag index counts them from 0.
struct TagStrings {
    std::size_t chunk = 0;
    std::vector<std::string> strings;
};

// A POLS chunk: its polygons in the mesh, in file order.
struct PolygonChunk {
    std::size_t chunk = 0;
    LWID type = 0;
    std::vector<LWPolID> polygons;
    // Where a PTAG of a type it has none of goes: after this chunk (the POLS
    // or its last PTAG), naming strings of this TAGS (or kNoChunk: none yet).
    std::size_t lastTagChunk = 0;
    std::size_t tagStringsThere = kNoChunk;
};

// One pair of a PTAG chunk: a polygon (index in its POLS) and the tag index,
// with where that tag index sits in the chunk's data.
struct TagPair {
    std::uint32_t polygon = 0;
    std::uint32_t tagOffset = 0;
    std::uint16_t tag = 0;
};

struct PolygonTagChunk {
    std::size_t chunk = 0;
    LWID type = 0;
    std::size_t polygons = 0;  // index in ObjectFile::polygonChunks
    std::size_t strings = 0;   // index in ObjectFile::tagStrings
    std::vector<TagPair> pairs;
};

struct ObjectFile {
    std::vector<char> bytes;  // the whole file as read
    std::size_t formEnd = 0;  // the end of the FORM's data; only its pad byte may follow, kept as it is
    std::vector<FileChunk> chunks;
    std::vector<FileLayer> layers;
    std::vector<TagStrings> tagStrings;
    std::vector<PolygonChunk> polygonChunks;
    std::vector<PolygonTagChunk> polygonTags;
};

// Reads `bytes` into `file` and `mesh` (which should be empty). False with
// `error` saying what the bytes are when they are not an LWO2 object file, or
// naming the chunk and its offset when a length, count or index does not fit.
bool readObjectFile(std::vector<char> bytes, ObjectFile& file, MeshObject& mesh, std::string& error);

// The same from a file on disk; the error starts with `path`.
bool loadObjectFile(const std::string& path, ObjectFile& file, MeshObject& mesh, std::string& error);

// Writes `file` with the polygon tags `mesh` now holds: new tag strings are
// appended to their TAGS chunk, tags of a type a PTAG chunk of the polygons'
// POLS already holds are changed there, other types get a PTAG chunk after
// that POLS's last. With nothing changed the bytes are the file's own. False
// with `error` when the tags cannot be written (more than 65,536 strings in
// one TAGS chunk, a chunk past 4 GB) or the stream fails.
bool writeObjectFile(const ObjectFile& file, const MeshObject& mesh, std::ostream& out, std::string& error);

// What a file that is not an LWO2 object file is, from its first bytes:
// "an LWOB object file (...)", "a PNG image", "empty", ...
std::string describeNonObjectFile(const std::vector<char>& bytes);

// "PTAG" from LWID_('P', 'T', 'A', 'G'); unprintable bytes as \xNN.
std::string idText(LWID id);

}  // namespace host
