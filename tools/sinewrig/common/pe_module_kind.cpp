// The headers of a Windows DLL: its kind, its export directory's names and
// its import descriptors' DLL names.
#include <utility>

#include "tools/sinewrig/common/hex_number.h"
#include "tools/sinewrig/common/module_file_bytes.h"

namespace sinewrig_tool {

namespace {

std::string hex(std::uint64_t value) { return hexNumber(value, 4); }

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
        if (!roomForName(kind.exports, "exports", kind)) return;
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
        if (!roomForName(kind.imports, "imports", kind)) return;
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

}  // namespace

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

}  // namespace sinewrig_tool
