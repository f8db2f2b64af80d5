// Object files: any bytes read as an object file are either refused with a
// message or read whole; what was read writes back byte for byte, and with a
// muscle's tags set on its skelegons writes a file that reads back with them.
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "host/object_file/object_file.h"

namespace {

constexpr LWID kColour = LWID_('C', 'O', 'L', 'R');
constexpr LWID kFlags = LWID_('M', 'F', 'L', 'G');
constexpr LWID kTip = LWID_('M', 'T', 'I', 'P');

void broken(const char* what, const std::string& detail) {
    std::fprintf(stderr, "broken: %s: %s\n", what, detail.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<char> input(reinterpret_cast<const char*>(data), reinterpret_cast<const char*>(data) + size);
    host::ObjectFile file;
    host::MeshObject mesh;
    std::string error;
    if (!host::readObjectFile(input, file, mesh, error)) {
        if (error.empty()) broken("a refusal without a message", "");
        return 0;
    }
    std::ostringstream same;
    if (!host::writeObjectFile(file, mesh, same, error)) broken("an unchanged object could not be written", error);
    if (same.str() != std::string(input.begin(), input.end())) broken("an unchanged object was not written back as read", "");

    // Every skelegon becomes a muscle aiming at the first one, as SetMuscle tags them.
    std::vector<host::MeshPolygon*> tagged;
    for (const host::FileLayer& layer : file.layers)
        for (auto& polygon : mesh.layer(layer.meshIndex).polygons)
            if (polygon->type == LWPOLTYPE_BONE && tagged.size() < 64) tagged.push_back(polygon.get());
    for (host::MeshPolygon* polygon : tagged) {
        polygon->tags[kColour] = "DkRed";
        polygon->tags[kFlags] = "3";
        polygon->tags[kTip] = tagged[0]->tag(LWPTAG_PART) ? tagged[0]->tag(LWPTAG_PART) : "Arm";
    }
    std::ostringstream changed;
    if (!host::writeObjectFile(file, mesh, changed, error)) {
        if (error.find("65,536") == std::string::npos) broken("tags could not be written", error);
        return 0;
    }
    const std::string out = changed.str();
    host::ObjectFile again;
    host::MeshObject reread;
    if (!host::readObjectFile(std::vector<char>(out.begin(), out.end()), again, reread, error))
        broken("the tagged object does not read back", error);
    // Every chunk but the tags' is the same, in the same order.
    auto others = [](const host::ObjectFile& object) {
        std::vector<std::string> kept;
        for (const host::FileChunk& chunk : object.chunks)
            if (chunk.id != LWID_('T', 'A', 'G', 'S') && chunk.id != LWID_('P', 'T', 'A', 'G'))
                kept.emplace_back(object.bytes.data() + chunk.offset, 8 + chunk.length);
        return kept;
    };
    if (others(file) != others(again)) broken("a chunk other than TAGS and PTAG changed", "");
    std::size_t found = 0;
    for (const host::FileLayer& layer : again.layers)
        for (auto& polygon : reread.layer(layer.meshIndex).polygons)
            if (polygon->type == LWPOLTYPE_BONE && found < tagged.size()) {
                const char* flags = polygon->tag(kFlags);
                if (!flags || std::string(flags) != "3") broken("a skelegon lost its MFLG tag", std::to_string(found));
                ++found;
            }
    if (found != tagged.size()) broken("skelegons changed in number", std::to_string(found));
    return 0;
}
