#include "tools/sinewrig/common/module_file_bytes.h"

#include <cstdio>

namespace sinewrig_tool {

namespace {

// A name from the file as plain ASCII: other bytes, the quote and the backslash as \xNN.
std::string plainName(const std::string& raw) {
    std::string text;
    for (const char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\') {
            text += c;
        } else {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            text += escape;
        }
    }
    return text;
}

}  // namespace

bool FileBytes::name(std::uint64_t offset, std::uint64_t end, std::string& text) const {
    constexpr std::uint64_t kLongest = 4096;
    if (end > data_.size()) end = data_.size();
    if (offset < end && end - offset > kLongest) end = offset + kLongest;
    std::string raw;
    for (std::uint64_t at = offset; at < end; ++at) {
        if (data_[at] == 0) {
            text = plainName(raw);
            return true;
        }
        raw += static_cast<char>(data_[at]);
    }
    return false;
}

}  // namespace sinewrig_tool
