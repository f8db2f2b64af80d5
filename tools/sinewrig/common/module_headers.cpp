#include "tools/sinewrig/common/module_headers.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

namespace sinewrig_tool {

namespace {

// Little-endian fields; reads past the end give `fallback` and mark the file short.
struct Bytes {
    const std::vector<unsigned char>& data;
    bool past = false;

    std::uint64_t at(std::uint64_t offset, int size) {
        if (offset > data.size() || data.size() - offset < static_cast<std::uint64_t>(size)) {
            past = true;
            return 0;
        }
        std::uint64_t value = 0;
        for (int i = size - 1; i >= 0; --i) value = value << 8 | data[offset + i];
        return value;
    }
};

// Whether `bytes` from `offset` lie inside a file of `size` bytes, without overflow.
bool inside(std::uint64_t offset, std::uint64_t bytes, std::uint64_t size) { return offset <= size && bytes <= size - offset; }

std::string describes(std::uint64_t end, std::uint64_t size, const std::string& what) {
    return "the file is cut short: " + std::to_string(size) + " bytes, but " + what + " reaches byte " +
           std::to_string(end);
}

bool elfFits(Bytes& file, std::string& reason) {
    const bool wide = file.data[4] == 2;
    const std::uint64_t size = file.data.size();
    const std::uint64_t phoff = file.at(wide ? 0x20 : 0x1C, wide ? 8 : 4);
    const std::uint64_t shoff = file.at(wide ? 0x28 : 0x20, wide ? 8 : 4);
    const std::uint64_t phentsize = file.at(wide ? 0x36 : 0x2A, 2), phnum = file.at(wide ? 0x38 : 0x2C, 2);
    const std::uint64_t shentsize = file.at(wide ? 0x3A : 0x2E, 2), shnum = file.at(wide ? 0x3C : 0x30, 2);
    if (file.past) {
        reason = "the file is cut short inside its ELF header";
        return false;
    }
    if (phnum && !inside(phoff, phnum * phentsize, size)) {
        reason = describes(phoff + phnum * phentsize, size, "its program header table");
        return false;
    }
    if (shnum && !inside(shoff, shnum * shentsize, size)) {
        reason = describes(shoff + shnum * shentsize, size, "its section header table");
        return false;
    }
    for (std::uint64_t i = 0; i < phnum; ++i) {
        const std::uint64_t entry = phoff + i * phentsize;
        const std::uint64_t offset = file.at(entry + (wide ? 8 : 4), wide ? 8 : 4);
        const std::uint64_t filesz = file.at(entry + (wide ? 32 : 16), wide ? 8 : 4);
        if (!inside(offset, filesz, size)) {
            reason = describes(offset + filesz, size, "segment " + std::to_string(i));
            return false;
        }
    }
    constexpr std::uint64_t kNoBits = 8;
    for (std::uint64_t i = 0; i < shnum; ++i) {
        const std::uint64_t entry = shoff + i * shentsize;
        if (file.at(entry + 4, 4) == kNoBits) continue;
        const std::uint64_t offset = file.at(entry + (wide ? 0x18 : 0x10), wide ? 8 : 4);
        const std::uint64_t bytes = file.at(entry + (wide ? 0x20 : 0x14), wide ? 8 : 4);
        if (!inside(offset, bytes, size)) {
            reason = describes(offset + bytes, size, "section " + std::to_string(i));
            return false;
        }
    }
    return true;
}

bool peFits(Bytes& file, std::string& reason) {
    const std::uint64_t size = file.data.size();
    const std::uint64_t header = file.at(0x3C, 4);
    const std::uint64_t signature = file.at(header, 4);
    const std::uint64_t sections = file.at(header + 6, 2), optional = file.at(header + 20, 2);
    if (file.past) {
        reason = "the file is cut short inside its PE header";
        return false;
    }
    if (signature != 0x00004550) return true;  // an old MZ program: the loader refuses it
    // The COFF symbol table, with the string table's size after it.
    const std::uint64_t symbols = file.at(header + 12, 4), symbolCount = file.at(header + 16, 4);
    if (symbols && !inside(symbols, symbolCount * 18 + 4, size)) {
        reason = describes(symbols + symbolCount * 18 + 4, size, "its symbol table");
        return false;
    }
    if (symbols) {
        const std::uint64_t strings = symbols + symbolCount * 18, stringBytes = file.at(strings, 4);
        if (!inside(strings, stringBytes, size)) {
            reason = describes(strings + stringBytes, size, "its string table");
            return false;
        }
    }
    const std::uint64_t table = header + 24 + optional;
    if (!inside(table, sections * 40, size)) {
        reason = describes(table + sections * 40, size, "its section table");
        return false;
    }
    for (std::uint64_t i = 0; i < sections; ++i) {
        const std::uint64_t raw = file.at(table + i * 40 + 16, 4), offset = file.at(table + i * 40 + 20, 4);
        if (raw && !inside(offset, raw, size)) {
            reason = describes(offset + raw, size, "section " + std::to_string(i));
            return false;
        }
    }
    return true;
}

}  // namespace

bool headersFitFile(const std::string& path, std::string& reason) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return true;  // the loader names why it cannot be opened
    const std::vector<unsigned char> data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Bytes file{data};
    if (data.size() >= 5 && data[0] == 0x7F && data[1] == 'E' && data[2] == 'L' && data[3] == 'F') return elfFits(file, reason);
    if (data.size() >= 2 && data[0] == 'M' && data[1] == 'Z') return peFits(file, reason);
    return true;
}

}  // namespace sinewrig_tool
