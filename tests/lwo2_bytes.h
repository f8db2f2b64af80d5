// Object file bytes spelled out in tests, field by field, independent of the
// stand-in's own writer: big-endian numbers, IDs, S0 strings and chunks whose
// length is counted from the bytes given.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>

namespace lwo2_bytes {

inline std::string u2(std::uint32_t v) { return {char(v >> 8), char(v)}; }
inline std::string u4(std::uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }
inline std::string f4(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return u4(bits);
}
inline std::string vec(float x, float y, float z) { return f4(x) + f4(y) + f4(z); }
// An index as two bytes below 0xFF00, else four with the top byte 0xFF.
inline std::string vx(std::uint32_t i) { return i < 0xFF00 ? u2(i) : u4(i | 0xFF000000u); }
// The text, its 0 byte, and a pad byte when those are an odd count.
inline std::string s0(const std::string& text) {
    std::string out = text + '\0';
    if (out.size() % 2) out += '\0';
    return out;
}
// ID, U4 length, the data, a pad byte when the length is odd.
inline std::string chunk(const char id[5], const std::string& data) {
    std::string out = std::string(id, 4) + u4(static_cast<std::uint32_t>(data.size())) + data;
    if (data.size() % 2) out += '\0';
    return out;
}
inline std::string form(const std::string& chunks, const char type[5] = "LWO2") {
    return "FORM" + u4(static_cast<std::uint32_t>(chunks.size() + 4)) + std::string(type, 4) + chunks;
}
inline std::string cat(std::initializer_list<std::string> parts) {
    std::string out;
    for (const std::string& part : parts) out += part;
    return out;
}

}  // namespace lwo2_bytes
