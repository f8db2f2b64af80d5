// The object file's numbers as bytes: big-endian, as the format stores every
// value, and its variable-length index (VX).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace host {

inline void putU2(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value);
}

inline void putU4(std::string& out, std::uint32_t value) {
    putU2(out, value >> 16);
    putU2(out, value & 0xFFFF);
}

// A single-precision float, as the file holds positions.
inline void putFloat(std::string& out, double value) {
    const float single = static_cast<float>(value);
    std::uint32_t bits;
    static_assert(sizeof bits == sizeof single);
    std::memcpy(&bits, &single, sizeof bits);
    putU4(out, bits);
}

// Two bytes below 0xFF00, otherwise four with 0xFF in the top byte.
inline void putIndex(std::string& out, std::uint32_t index) {
    if (index < 0xFF00) putU2(out, index);
    else putU4(out, index | 0xFF000000u);
}

}  // namespace host
