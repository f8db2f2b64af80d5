// A module file's bytes, each read checked against the file's end, and the
// readers of the two formats a module file comes in; for common/module_kind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/sinewrig/common/module_kind.h"

namespace sinewrig_tool {

// Little-endian fields, each read checked against the file's end.
class FileBytes {
public:
    explicit FileBytes(const std::vector<unsigned char>& data) : data_(data) {}

    std::uint64_t size() const { return data_.size(); }
    bool holds(std::uint64_t offset, std::uint64_t bytes) const {
        return offset <= data_.size() && bytes <= data_.size() - offset;
    }
    // False, leaving `value`, when the field lies past the end.
    bool read(std::uint64_t offset, int bytes, std::uint64_t& value) const {
        if (!holds(offset, static_cast<std::uint64_t>(bytes))) return false;
        value = 0;
        for (int i = bytes - 1; i >= 0; --i) value = value << 8 | data_[offset + i];
        return true;
    }
    // A NUL-terminated name from `offset`, before `end`; false when no NUL
    // comes before it, or within 4096 bytes: no real name is longer, and a
    // hostile file could otherwise have every name scan the whole file.
    // Bytes outside printable ASCII come out as \xNN.
    bool name(std::uint64_t offset, std::uint64_t end, std::string& text) const;

private:
    const std::vector<unsigned char>& data_;
};

// The most exports or imports read from one file: a DLL's exports have
// 16-bit ordinals, and a hostile file could otherwise make each few bytes
// of it a name thousands of bytes long.
constexpr std::size_t kMostNames = 65536;

// False, adding the problem to `kind`, when `names` is full.
inline bool roomForName(const std::vector<std::string>& names, const char* what, ModuleKind& kind) {
    if (names.size() < kMostNames) return true;
    kind.problems.push_back("more than " + std::to_string(kMostNames) + " " + what + ": the rest are not read");
    return false;
}

// A Windows PE file whose "PE\0\0" signature is at `header`.
void readPe(const FileBytes& file, std::uint64_t header, ModuleKind& kind);
// An ELF file.
void readElf(const FileBytes& file, ModuleKind& kind);

}  // namespace sinewrig_tool
