#include <cstring>

#include "host/object_file/object_file.h"

namespace host {

namespace {

bool startsWith(const std::vector<char>& bytes, const char* prefix, std::size_t length) {
    return bytes.size() >= length && std::memcmp(bytes.data(), prefix, length) == 0;
}

std::string ascii(const std::vector<char>& bytes, std::size_t from, std::size_t count) {
    LWID id = 0;
    for (std::size_t i = 0; i < count; ++i) id = id << 8 | static_cast<unsigned char>(bytes[from + i]);
    return idText(id);
}

}  // namespace

std::string describeNonObjectFile(const std::vector<char>& bytes) {
    if (bytes.empty()) return "is empty, not an object file";
    if (startsWith(bytes, "FORM", 4)) {
        if (bytes.size() < 12) return "is an IFF file cut short after " + std::to_string(bytes.size()) + " bytes";
        if (startsWith(bytes, "FORM", 4) && std::memcmp(bytes.data() + 8, "LWOB", 4) == 0)
            return "is an LWOB object file (the format before LWO2), which this tool does not read; save it again "
                   "from Modeler as LWO2";
        if (std::memcmp(bytes.data() + 8, "LWO3", 4) == 0)
            return "is an LWO3 object file (written by the host's 2018 and later releases), which this tool does "
                   "not read; export it from Modeler as LWO2";
        if (std::memcmp(bytes.data() + 8, "LWLO", 4) == 0)
            return "is an LWLO object file (a layered object of an early release), which this tool does not read";
        return "is an IFF file of type \"" + ascii(bytes, 8, 4) + "\", not an object file";
    }
    if (startsWith(bytes, "LWSC", 4) || startsWith(bytes, "LWSCENE", 7)) return "is a Layout scene file, not an object file";
    if (startsWith(bytes, "FOR4", 4) || startsWith(bytes, "FOR8", 4)) return "is an IFF file with a 64-bit FORM, not an object file";
    if (startsWith(bytes, "\x89PNG", 4)) return "is a PNG image, not an object file";
    if (startsWith(bytes, "\xFF\xD8\xFF", 3)) return "is a JPEG image, not an object file";
    if (startsWith(bytes, "GIF8", 4)) return "is a GIF image, not an object file";
    if (startsWith(bytes, "PK\x03\x04", 4)) return "is a zip archive, not an object file";
    if (startsWith(bytes, "\x1F\x8B", 2)) return "is gzip-compressed, not an object file";
    if (startsWith(bytes, "\x7F" "ELF", 4)) return "is an ELF program or library, not an object file";
    if (startsWith(bytes, "MZ", 2)) return "is a Windows program or module file, not an object file";
    if (startsWith(bytes, "%PDF", 4)) return "is a PDF document, not an object file";
    if (startsWith(bytes, "# ", 2) || startsWith(bytes, "v ", 2) || startsWith(bytes, "o ", 2) ||
        startsWith(bytes, "mtllib", 6))
        return "looks like a Wavefront OBJ text file, not an LWO2 object file";
    std::size_t text = 0;
    const std::size_t looked = bytes.size() < 512 ? bytes.size() : 512;
    for (std::size_t i = 0; i < looked; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == '\n' || c == '\r' || c == '\t' || (c >= 0x20 && c != 0x7F)) ++text;
    }
    if (bytes[0] == '{' || bytes[0] == '[') return "is a JSON or other text file, not an object file";
    if (text == looked) return "is a text file, not an object file";
    if (bytes.size() < 12) return "is only " + std::to_string(bytes.size()) + " bytes long, too short for an object file";
    return "is not an object file (it does not start with an IFF FORM of type LWO2; its first bytes are \"" +
           ascii(bytes, 0, 4) + "\")";
}

}  // namespace host
