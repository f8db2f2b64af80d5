// The headers of a Linux shared object: its kind, its visible dynamic
// symbols and the libraries it needs.
#include <utility>

#include "tools/sinewrig/common/module_file_bytes.h"

namespace sinewrig_tool {

namespace {

struct ElfSection {
    std::uint64_t type, offset, size, link;
};

constexpr std::uint64_t kDynamic = 6, kDynamicSymbols = 11;

std::string elfMachine(std::uint64_t machine) {
    if (machine == 3) return "i386";
    if (machine == 62) return "x86-64";
    if (machine == 183) return "AArch64";
    if (machine == 40) return "ARM";
    return "machine " + std::to_string(machine);
}

// Sections and the string table each names through its link.
class ElfSections {
public:
    ElfSections(const FileBytes& file, bool wide, std::vector<ElfSection> sections)
        : file(file), wide(wide), all(std::move(sections)) {}

    // The name at `offset` in the string table of `s`.
    bool name(const ElfSection& s, std::uint64_t offset, std::string& text) const {
        if (s.link >= all.size()) return false;
        const ElfSection& table = all[s.link];
        return offset < table.size && file.holds(table.offset, table.size) &&
               file.name(table.offset + offset, table.offset + table.size, text);
    }

    const FileBytes& file;
    const bool wide;
    const std::vector<ElfSection> all;
};

// The dynamic section's needed libraries, up to its closing entry.
void readNeeded(const ElfSections& elf, const ElfSection& s, ModuleKind& kind) {
    constexpr std::uint64_t kNeeded = 1;
    const std::uint64_t step = elf.wide ? 16 : 8;
    for (std::uint64_t at = s.offset; at + step <= s.offset + s.size; at += step) {
        std::uint64_t tag = 0, value = 0;
        elf.file.read(at, elf.wide ? 8 : 4, tag);
        elf.file.read(at + step / 2, elf.wide ? 8 : 4, value);
        if (tag == 0) return;
        std::string text;
        if (tag != kNeeded) continue;
        if (!roomForName(kind.imports, "imports", kind)) return;
        if (!elf.name(s, value, text)) {
            kind.problems.push_back("a needed library's name is not in the file");
            return;
        }
        kind.imports.push_back(text);
    }
}

// The dynamic symbols another library can use: defined, global or weak, and
// of default or protected visibility.
void readExports(const ElfSections& elf, const ElfSection& s, ModuleKind& kind) {
    const bool wide = elf.wide;
    const std::uint64_t step = wide ? 24 : 16;
    for (std::uint64_t at = s.offset + step; at + step <= s.offset + s.size; at += step) {  // entry 0 is empty
        std::uint64_t name = 0, info = 0, other = 0, section = 0;
        elf.file.read(at, 4, name);
        elf.file.read(at + (wide ? 4 : 12), 1, info);
        elf.file.read(at + (wide ? 5 : 13), 1, other);
        elf.file.read(at + (wide ? 6 : 14), 2, section);
        const std::uint64_t binding = info >> 4, visibility = other & 3;
        if (section == 0 || (binding != 1 && binding != 2) || (visibility != 0 && visibility != 3)) continue;
        std::string text;
        if (!roomForName(kind.exports, "exports", kind)) return;
        if (!elf.name(s, name, text)) {
            kind.problems.push_back("an exported symbol's name is not in the file");
            return;
        }
        kind.exports.push_back(text);
    }
}

void readNames(const ElfSections& elf, ModuleKind& kind) {
    for (const ElfSection& s : elf.all) {
        if (s.type != kDynamic && s.type != kDynamicSymbols) continue;
        if (!elf.file.holds(s.offset, s.size))
            kind.problems.push_back(s.type == kDynamic ? "the dynamic section runs past the end of the file"
                                                       : "the dynamic symbols run past the end of the file");
        else if (s.type == kDynamic)
            readNeeded(elf, s, kind);
        else
            readExports(elf, s, kind);
    }
}

}  // namespace

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
        if (entrySize < (wide ? 64u : 40u)) {
            kind.problems.push_back("its section headers are " + std::to_string(entrySize) + " bytes each, too few to read");
            return;
        }
        if (!file.read(row + 4, 4, s.type) ||
            !file.read(row + (wide ? 0x18 : 0x10), word, s.offset) || !file.read(row + (wide ? 0x20 : 0x14), word, s.size) ||
            !file.read(row + (wide ? 0x28 : 0x18), 4, s.link)) {
            kind.problems.push_back("its section headers run past the end of the file");
            return;
        }
        sections.push_back(s);
    }
    readNames(ElfSections(file, wide, std::move(sections)), kind);
}

}  // namespace sinewrig_tool
