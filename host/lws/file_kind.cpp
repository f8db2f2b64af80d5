#include <string>
#include <string_view>

#include "host/lws/scene_lines.h"
#include "host/lws/scene_text.h"
#include "host/text/text_format.h"

namespace host::lws {

namespace {

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// Bytes no text file holds: NUL and the control characters other than line
// ends, tabs and form feeds.
bool looksBinary(std::string_view bytes) {
    constexpr std::size_t kLooked = 1024;
    for (std::size_t i = 0; i < bytes.size() && i < kLooked; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x20 && c != '\n' && c != '\r' && c != '\t' && c != '\f' && c != 0x1A) return true;
    }
    return false;
}

}  // namespace

std::string_view withoutByteOrderMark(std::string_view text) {
    return startsWith(text, "\xEF\xBB\xBF") ? text.substr(3) : text;
}

bool startsAsScene(std::string_view bytes) {
    std::string_view first = withoutByteOrderMark(bytes);
    first = first.substr(0, first.find('\n'));
    while (!first.empty() && isBlank(first.back())) first.remove_suffix(1);
    return first == "LWSC";
}

std::string describeNonScene(std::string_view bytes) {
    if (bytes.empty()) return "an empty file";
    if (bytes.size() >= 12 && startsWith(bytes, "FORM")) {
        const std::string_view type = bytes.substr(8, 4);
        if (type == "LWO2" || type == "LWOB" || type == "LWLO") return "an object file (" + std::string(type) + ")";
        return "an IFF file of type " + quotedForMessage(type);
    }
    const std::string_view firstLine = bytes.substr(0, bytes.find('\n'));
    const std::string_view content = trimmedLeft(bytes);
    if (!content.empty() && (content[0] == '{' || content[0] == '['))
        return bytes.find("\"skelegons\"") != std::string_view::npos ? "a rig (JSON)" : "a JSON file";
    if (looksBinary(bytes)) return "a binary file";
    if (startsWith(firstLine, "LWMO")) return "a motion file (LWMO)";
    std::string_view shown = firstLine;
    if (!shown.empty() && shown.back() == '\r') shown.remove_suffix(1);
    return "text whose first line is " + quotedForMessage(shown);
}

}  // namespace host::lws
