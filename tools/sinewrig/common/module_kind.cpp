#include "tools/sinewrig/common/module_kind.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "tools/sinewrig/common/hex_number.h"

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
    bool name(std::uint64_t offset, std::uint64_t end, std::string& text) const {
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

private:
    const std::vector<unsigned char>& data_;
};

std::string hex(std::uint64_t value) { return hexNumber(value, 4); }

// ----- PE: a Windows DLL -----

struct PeSection {
    std::uint64_t address, virtualSize, rawOffset, rawSize;
};

class PeImage {
public:
    PeImage(const FileBytes& file, std::vector<PeSection> sections) : file_(file), sections_(std::move(sections)) {}

    // The file offset of an address of the loaded image, and where the
    // section's bytes in the file end; false when no section holds it in the file.
    bool offsetOf(std::uint64_t address, std::uint64_t& offset, std::uint64_t& end) const {
        for (const PeSection& s : sections_) {
            if (address < s.address || address - s.address >= s.rawSize) continue;
            const std::uint64_t at = s.rawOffset + (address - s.address);
            if (!file_.holds(at, 1)) return false;
            offset = at;
            end = s.rawOffset + s.rawSize;
            return true;
        }
        return false;
    }
    bool name(std::uint64_t address, std::string& text) const {
        std::uint64_t offset = 0, end = 0;
        return offsetOf(address, offset, end) && file_.name(offset, end, text);
    }

private:
    const FileBytes& file_;
    std::vector<PeSection> sections_;
};

void readPeExports(const FileBytes& file, const PeImage& image, std::uint64_t directory, ModuleKind& kind) {
    std::uint64_t at = 0, end = 0, names = 0, table = 0;
    if (!image.offsetOf(directory, at, end) || !file.read(at + 24, 4, names) || !file.read(at + 32, 4, table)) {
        kind.problems.push_back("the export directory (address " + hexNumber(directory) + ") is not in the file");
        return;
    }
    for (std::uint64_t i = 0; i < names; ++i) {
        std::uint64_t entry = 0, entryEnd = 0, address = 0;
        std::string text;
        if (!image.offsetOf(table + 4 * i, entry, entryEnd) || !file.read(entry, 4, address)) {
            kind.problems.push_back("the export directory lists " + std::to_string(names) + " names, but the file holds " +
                                    std::to_string(i));
            return;
        }
        if (!image.name(address, text)) {
            kind.problems.push_back("export name " + std::to_string(i + 1) + " (address " + hexNumber(address) +
                                    ") is not a terminated name in the file");
            return;
        }
        kind.exports.push_back(text);
    }
}

void readPeImports(const FileBytes& file, const PeImage& image, std::uint64_t directory, ModuleKind& kind) {
    std::uint64_t at = 0, end = 0;
    if (!image.offsetOf(directory, at, end)) {
        kind.problems.push_back("the import directory (address " + hexNumber(directory) + ") is not in the file");
        return;
    }
    // Descriptors of 20 bytes, up to one of zeros; a list that runs to the
    // section's end without one is cut.
    for (std::uint64_t entry = at;; entry += 20) {
        std::uint64_t lookup = 0, name = 0, thunks = 0;
        if (entry + 20 > end || !file.read(entry, 4, lookup) || !file.read(entry + 12, 4, name) ||
            !file.read(entry + 16, 4, thunks)) {
            kind.problems.push_back("the import directory runs past its section without its closing entry");
            return;
        }
        if (lookup == 0 && name == 0 && thunks == 0) return;
        std::string text;
        if (!image.name(name, text)) {
            kind.problems.push_back("an imported library's name (address " + hexNumber(name) +
                                    ") is not a terminated name in the file");
            return;
        }
        kind.imports.push_back(text);
    }
}

std::string peMachine(std::uint64_t machine) {
    if (machine == 0x014C) return "i386";
    if (machine == 0x8664) return "x86-64";
    if (machine == 0xAA64) return "ARM64";
    if (machine == 0x01C4) return "ARM";
    return "machine " + hex(machine);
}

void readPe(const FileBytes& file, std::uint64_t header, ModuleKind& kind) {
    kind.system = ModuleKind::System::Windows;
    std::uint64_t machine = 0, sectionCount = 0, optionalSize = 0, characteristics = 0, magic = 0;
    if (!file.read(header + 4, 2, machine) || !file.read(header + 6, 2, sectionCount) ||
        !file.read(header + 20, 2, optionalSize) || !file.read(header + 22, 2, characteristics) ||
        !file.read(header + 24, 2, magic)) {
        kind.format = "PE";
        kind.what = "a PE file cut short inside its headers";
        kind.problems.push_back("the file is cut short inside its PE header");
        return;
    }
    kind.format = magic == 0x10B ? "PE32" : magic == 0x20B ? "PE32+" : "PE (optional header magic " + hex(magic) + ")";
    kind.machine = peMachine(machine);
    kind.library = (characteristics & 0x2000) != 0;
    kind.what = kind.format + " " + kind.machine + (kind.library ? " DLL" : " program (not a DLL)");
    if (magic == 0x10B && machine == 0x014C) kind.host = "a 32-bit Windows host";
    if (magic == 0x20B && machine == 0x8664) kind.host = "a 64-bit Windows host";
    if (magic != 0x10B && magic != 0x20B) return;

    const std::uint64_t optional = header + 24;
    const bool wide = magic == 0x20B;
    std::uint64_t directoryCount = 0;
    if (!file.read(optional + (wide ? 108 : 92), 4, directoryCount)) {
        kind.problems.push_back("the file is cut short inside its optional header");
        return;
    }
    std::vector<PeSection> sections;
    const std::uint64_t table = optional + optionalSize;
    for (std::uint64_t i = 0; i < sectionCount; ++i) {
        PeSection s{};
        const std::uint64_t row = table + 40 * i;
        if (!file.read(row + 8, 4, s.virtualSize) || !file.read(row + 12, 4, s.address) ||
            !file.read(row + 16, 4, s.rawSize) || !file.read(row + 20, 4, s.rawOffset)) {
            kind.problems.push_back("the section table says " + std::to_string(sectionCount) +
                                    " sections, but the file is cut short after " + std::to_string(i));
            return;
        }
        // Past its size in memory a section's file bytes are padding.
        if (s.virtualSize != 0 && s.virtualSize < s.rawSize) s.rawSize = s.virtualSize;
        sections.push_back(s);
    }
    const PeImage image(file, std::move(sections));
    const std::uint64_t directories = optional + (wide ? 112 : 96);
    std::uint64_t exports = 0, imports = 0;
    if (directoryCount > 0 && (!file.read(directories, 4, exports) || optionalSize < (wide ? 120u : 104u)))
        kind.problems.push_back("the export directory's entry lies outside the optional header");
    else if (exports != 0)
        readPeExports(file, image, exports, kind);
    if (directoryCount > 1 && (!file.read(directories + 8, 4, imports) || optionalSize < (wide ? 128u : 112u)))
        kind.problems.push_back("the import directory's entry lies outside the optional header");
    else if (imports != 0)
        readPeImports(file, image, imports, kind);
}

// ----- ELF: a Linux shared object -----

struct ElfSection {
    std::uint64_t type, offset, size, link, entrySize;
};

std::string elfMachine(std::uint64_t machine) {
    if (machine == 3) return "i386";
    if (machine == 62) return "x86-64";
    if (machine == 183) return "AArch64";
    if (machine == 40) return "ARM";
    return "machine " + std::to_string(machine);
}

void readElfNames(const FileBytes& file, bool wide, const std::vector<ElfSection>& sections, ModuleKind& kind) {
    constexpr std::uint64_t kDynamic = 6, kDynamicSymbols = 11, kNeeded = 1;
    auto strings = [&](const ElfSection& s, std::uint64_t offset, std::string& text) {
        if (s.link >= sections.size()) return false;
        const ElfSection& table = sections[s.link];
        return offset < table.size && file.holds(table.offset, table.size) &&
               file.name(table.offset + offset, table.offset + table.size, text);
    };
    for (const ElfSection& s : sections) {
        if (s.type != kDynamic && s.type != kDynamicSymbols) continue;
        if (!file.holds(s.offset, s.size)) {
            kind.problems.push_back(std::string(s.type == kDynamic ? "the dynamic section" : "the dynamic symbols") +
                                    " run past the end of the file");
            continue;
        }
        if (s.type == kDynamic) {
            const std::uint64_t step = wide ? 16 : 8;
            for (std::uint64_t at = s.offset; at + step <= s.offset + s.size; at += step) {
                std::uint64_t tag = 0, value = 0;
                file.read(at, wide ? 8 : 4, tag);
                file.read(at + step / 2, wide ? 8 : 4, value);
                if (tag == 0) break;
                std::string text;
                if (tag != kNeeded) continue;
                if (!strings(s, value, text)) {
                    kind.problems.push_back("a needed library's name is not in the file");
                    break;
                }
                kind.imports.push_back(text);
            }
            continue;
        }
        const std::uint64_t step = wide ? 24 : 16;
        for (std::uint64_t at = s.offset + step; at + step <= s.offset + s.size; at += step) {  // entry 0 is empty
            std::uint64_t name = 0, info = 0, other = 0, section = 0;
            file.read(at, 4, name);
            file.read(at + (wide ? 4 : 12), 1, info);
            file.read(at + (wide ? 5 : 13), 1, other);
            file.read(at + (wide ? 6 : 14), 2, section);
            const std::uint64_t binding = info >> 4, visibility = other & 3;
            const bool seen = section != 0 && (binding == 1 || binding == 2) && (visibility == 0 || visibility == 3);
            std::string text;
            if (!seen) continue;
            if (!strings(s, name, text)) {
                kind.problems.push_back("an exported symbol's name is not in the file");
                break;
            }
            kind.exports.push_back(text);
        }
    }
}

void readElf(const FileBytes& file, ModuleKind& kind) {
    kind.system = ModuleKind::System::Linux;
    std::uint64_t width = 0, order = 0, type = 0, machine = 0;
    file.read(4, 1, width);
    file.read(5, 1, order);
    const bool wide = width == 2;
    kind.format = width == 1 ? "ELF 32-bit" : width == 2 ? "ELF 64-bit" : "ELF";
    if (order != 1 || (width != 1 && width != 2)) {
        kind.what = kind.format + (order == 2 ? " big-endian" : "") + " file";
        kind.problems.push_back("not a little-endian ELF file of 32 or 64 bits: not read further");
        return;
    }
    std::uint64_t sectionsAt = 0, entrySize = 0, count = 0;
    if (!file.read(16, 2, type) || !file.read(18, 2, machine) || !file.read(wide ? 0x28 : 0x20, wide ? 8 : 4, sectionsAt) ||
        !file.read(wide ? 0x3A : 0x2E, 2, entrySize) || !file.read(wide ? 0x3C : 0x30, 2, count)) {
        kind.what = kind.format + " file cut short inside its header";
        kind.problems.push_back("the file is cut short inside its ELF header");
        return;
    }
    constexpr std::uint64_t kSharedObject = 3;
    kind.machine = elfMachine(machine);
    kind.library = type == kSharedObject;
    kind.what = kind.format + " " + kind.machine + (kind.library ? " shared object" : " file (not a shared object)");
    if (wide && machine == 62) kind.host = "the stand-in host on 64-bit Linux";
    if (count == 0) {
        kind.problems.push_back("it has no section headers, so its exports and imports are not listed");
        return;
    }
    std::vector<ElfSection> sections;
    for (std::uint64_t i = 0; i < count; ++i) {
        ElfSection s{};
        const std::uint64_t row = sectionsAt + i * entrySize;
        const int word = wide ? 8 : 4;
        if (entrySize < (wide ? 64u : 40u) || !file.read(row + 4, 4, s.type) ||
            !file.read(row + (wide ? 0x18 : 0x10), word, s.offset) || !file.read(row + (wide ? 0x20 : 0x14), word, s.size) ||
            !file.read(row + (wide ? 0x28 : 0x18), 4, s.link)) {
            kind.problems.push_back("its section headers run past the end of the file");
            return;
        }
        sections.push_back(s);
    }
    readElfNames(file, wide, sections, kind);
}

}  // namespace

ModuleKind readModuleKind(const std::vector<unsigned char>& bytes) {
    ModuleKind kind;
    const FileBytes file(bytes);
    if (bytes.size() >= 4 && bytes[0] == 0x7F && bytes[1] == 'E' && bytes[2] == 'L' && bytes[3] == 'F') {
        readElf(file, kind);
        return kind;
    }
    std::uint64_t header = 0, signature = 0;
    if (bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z' && file.read(0x3C, 4, header) &&
        file.read(header, 4, signature) && signature == 0x00004550)
        readPe(file, header, kind);
    return kind;
}

bool readModuleKindOfFile(const std::string& path, ModuleKind& kind) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return false;
    kind = readModuleKind(bytes);
    return true;
}

bool loadableHere(const ModuleKind& kind) {
#if defined(_WIN32)
    if (kind.system == ModuleKind::System::Linux) return false;
    if (kind.system != ModuleKind::System::Windows) return true;
    return kind.machine == (sizeof(void*) == 8 ? "x86-64" : "i386");
#else
    return kind.system != ModuleKind::System::Windows;
#endif
}

std::string kindAndHost(const ModuleKind& kind) {
    if (!kind.library) return kind.what + ", which no host loads as a module";
    return kind.what + (kind.host.empty() ? ", for no host this project builds for" : ", for " + kind.host);
}

std::string modulesLoadedHere() {
#if defined(_WIN32)
    return sizeof(void*) == 8 ? "this 64-bit Windows build loads only x86-64 DLLs"
                              : "this 32-bit Windows build loads only i386 DLLs";
#else
    return "this Linux build loads only Linux modules";
#endif
}

std::string foreignModuleReason(const std::string& path) {
    ModuleKind kind;
    if (!readModuleKindOfFile(path, kind) || loadableHere(kind)) return "";
    const std::string command = fullCheckCommand(kind, path);
    return kindAndHost(kind) + "; " + modulesLoadedHere() +
           (command.empty() ? "" : " (check it with the matching build's tool: " + command + ")");
}

std::string fullCheckCommand(const ModuleKind& kind, const std::string& path) {
    if (kind.system == ModuleKind::System::Windows && (kind.machine == "i386" || kind.machine == "x86-64")) {
        const std::string build = kind.machine == "i386" ? "win32" : "win64";
#if defined(_WIN32)
        return "build\\" + build + "\\sinewrig.exe check " + path;
#else
        return "tools/wine-run build/" + build + "/sinewrig.exe check " + path;
#endif
    }
    if (kind.system == ModuleKind::System::Linux && kind.machine == "x86-64" && kind.format == "ELF 64-bit")
        return "build/native/sinewrig check " + path + " (on Linux)";
    return "";
}

}  // namespace sinewrig_tool
