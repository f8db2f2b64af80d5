// What `check` reads from a module file's headers when the build cannot load
// it: Windows DLLs and Linux shared objects spelled out byte by byte, cut
// short and made hostile, and the built module files themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/scratch_folder.h"
#include "tools/sinewrig/check/check.h"
#include "tools/sinewrig/common/module_kind.h"

namespace {

using sinewrig_tool::ModuleKind;
using Bytes = std::vector<unsigned char>;

void put(Bytes& bytes, std::size_t at, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}
void putText(Bytes& bytes, std::size_t at, const std::string& text) {
    std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

// A DLL of 0x400 bytes: headers, then one section of 0x200 bytes at file
// offset 0x200, loaded at address 0x1000. In it: the export directory at
// 0x1000, its name table at 0x1040 (one name, at 0x1120), the import
// descriptors at 0x1080 (KERNEL32.dll at 0x1140, msvcrt.dll at 0x1150, then
// one of zeros).
struct HandMadePe {
    bool wide = true;
    std::uint16_t machine = 0x8664;
    std::uint16_t characteristics = 0x2022;  // a DLL, executable, large addresses

    Bytes bytes() const {
        Bytes b(0x400, 0);
        putText(b, 0, "MZ");
        put(b, 0x3C, 0x40, 4);
        putText(b, 0x40, std::string("PE\0\0", 4));
        put(b, 0x44, machine, 2);
        put(b, 0x46, 1, 2);                          // one section
        put(b, 0x54, wide ? 240 : 224, 2);           // optional header: 112 or 96 bytes, then 16 directories
        put(b, 0x56, characteristics, 2);
        put(b, 0x58, wide ? 0x20B : 0x10B, 2);       // PE32+ or PE32
        put(b, 0x58 + (wide ? 108 : 92), 16, 4);     // directories
        const std::size_t directories = 0x58 + (wide ? 112 : 96);
        put(b, directories, 0x1000, 4);              // exports
        put(b, directories + 4, 40, 4);
        put(b, directories + 8, 0x1080, 4);          // imports
        put(b, directories + 12, 60, 4);
        const std::size_t section = 0x58 + (wide ? 240 : 224);
        putText(b, section, ".rdata");
        put(b, section + 8, 0x200, 4);               // size in memory
        put(b, section + 12, 0x1000, 4);             // address
        put(b, section + 16, 0x200, 4);              // size in the file
        put(b, section + 20, 0x200, 4);              // offset in the file
        // The export directory: its name, one function, one name.
        put(b, 0x200 + 12, 0x1100, 4);
        put(b, 0x200 + 20, 1, 4);
        put(b, 0x200 + 24, 1, 4);
        put(b, 0x200 + 32, 0x1040, 4);
        put(b, 0x240, 0x1120, 4);
        // Two import descriptors, each with its name and a lookup table.
        put(b, 0x280, 0x10F0, 4);
        put(b, 0x280 + 12, 0x1140, 4);
        put(b, 0x280 + 16, 0x10F0, 4);
        put(b, 0x294, 0x10F8, 4);
        put(b, 0x294 + 12, 0x1150, 4);
        put(b, 0x294 + 16, 0x10F8, 4);
        putText(b, 0x300, "Sinewrig.p");
        putText(b, 0x320, "_mod_descrip");
        putText(b, 0x340, "KERNEL32.dll");
        putText(b, 0x350, "msvcrt.dll");
        return b;
    }
};

// A 64-bit x86-64 shared object of 0x300 bytes: .dynstr at 0x100, .dynsym
// at 0x140 (an exported _mod_descrip, a hidden helper, an undefined puts),
// .dynamic at 0x1C0 (needing libc.so.6), and four section headers at 0x200.
Bytes handMadeElf() {
    Bytes b(0x300, 0);
    putText(b, 0, "\x7F" "ELF");
    b[4] = 2;  // 64-bit
    b[5] = 1;  // little-endian
    b[6] = 1;
    put(b, 16, 3, 2);      // a shared object
    put(b, 18, 62, 2);     // x86-64
    put(b, 0x28, 0x200, 8);
    put(b, 0x3A, 64, 2);
    put(b, 0x3C, 4, 2);
    // .dynstr: 1 "libc.so.6", 11 "_mod_descrip", 24 "helper", 31 "puts"
    putText(b, 0x101, "libc.so.6");
    putText(b, 0x10B, "_mod_descrip");
    putText(b, 0x118, "helper");
    putText(b, 0x11F, "puts");
    // .dynsym: entry 0 empty, then 24 bytes each: name, info, other, section.
    put(b, 0x158, 11, 4), b[0x15C] = 0x11, b[0x15D] = 0, put(b, 0x15E, 7, 2);   // global object, defined
    put(b, 0x170, 24, 4), b[0x174] = 0x12, b[0x175] = 2, put(b, 0x176, 8, 2);   // global function, hidden
    put(b, 0x188, 31, 4), b[0x18C] = 0x12, b[0x18D] = 0, put(b, 0x18E, 0, 2);   // undefined
    // .dynamic: DT_NEEDED 1, then DT_NULL.
    put(b, 0x1C0, 1, 8);
    put(b, 0x1C8, 1, 8);
    auto section = [&](int index, std::uint32_t type, std::uint64_t offset, std::uint64_t size, std::uint32_t link) {
        const std::size_t row = 0x200 + 64 * static_cast<std::size_t>(index);
        put(b, row + 4, type, 4);
        put(b, row + 0x18, offset, 8);
        put(b, row + 0x20, size, 8);
        put(b, row + 0x28, link, 4);
    };
    section(1, 3, 0x100, 0x24, 0);   // .dynstr
    section(2, 11, 0x140, 0x60, 1);  // .dynsym
    section(3, 6, 0x1C0, 0x20, 1);   // .dynamic
    return b;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& n : names) text += (text.empty() ? "" : " ") + n;
    return text;
}

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST(ModuleKind, WindowsDllsOfBothWidthsSayWhatTheyAreAndForWhichHost) {
    const ModuleKind wide = sinewrig_tool::readModuleKind(HandMadePe{}.bytes());
    EXPECT_EQ(wide.system, ModuleKind::System::Windows);
    EXPECT_EQ(wide.what, "PE32+ x86-64 DLL");
    EXPECT_EQ(wide.host, "a 64-bit Windows host");
    EXPECT_EQ(joined(wide.exports), "_mod_descrip");
    EXPECT_EQ(joined(wide.imports), "KERNEL32.dll msvcrt.dll");
    EXPECT_TRUE(wide.problems.empty()) << joined(wide.problems);

    const ModuleKind narrow = sinewrig_tool::readModuleKind(HandMadePe{false, 0x014C}.bytes());
    EXPECT_EQ(narrow.what, "PE32 i386 DLL");
    EXPECT_EQ(narrow.host, "a 32-bit Windows host");
    EXPECT_EQ(joined(narrow.imports), "KERNEL32.dll msvcrt.dll");
    EXPECT_TRUE(narrow.library);

    // An ARM64 program: no DLL, and no host this project builds for.
    const ModuleKind arm = sinewrig_tool::readModuleKind(HandMadePe{true, 0xAA64, 0x0022}.bytes());
    EXPECT_EQ(arm.what, "PE32+ ARM64 program (not a DLL)");
    EXPECT_EQ(arm.host, "");
    EXPECT_FALSE(arm.library);
    EXPECT_EQ(sinewrig_tool::fullCheckCommand(arm, "x.p"), "");
}

TEST(ModuleKind, ALinuxSharedObjectListsItsVisibleExportsAndTheLibrariesItNeeds) {
    const ModuleKind kind = sinewrig_tool::readModuleKind(handMadeElf());
    EXPECT_EQ(kind.system, ModuleKind::System::Linux);
    EXPECT_EQ(kind.what, "ELF 64-bit x86-64 shared object");
    EXPECT_EQ(kind.host, "the stand-in host on 64-bit Linux");
    EXPECT_EQ(joined(kind.exports), "_mod_descrip");
    EXPECT_EQ(joined(kind.imports), "libc.so.6");
    EXPECT_TRUE(kind.problems.empty()) << joined(kind.problems);

    Bytes noSections = handMadeElf();
    put(noSections, 0x3C, 0, 2);
    EXPECT_EQ(joined(sinewrig_tool::readModuleKind(noSections).problems),
              "it has no section headers, so its exports and imports are not listed");
    Bytes narrowRows = handMadeElf();
    put(narrowRows, 0x3A, 40, 2);  // a 32-bit file's row size in a 64-bit file
    EXPECT_EQ(joined(sinewrig_tool::readModuleKind(narrowRows).problems),
              "its section headers are 40 bytes each, too few to read");
}

TEST(ModuleKind, CutFilesGiveProblemsAndNothingIsReadOutsideThem) {
    // Every cut of both hand-made files (the sanitizer builds catch any read
    // past the end); each cut before the last byte the reader needs (the end
    // of "msvcrt.dll"; of the last section header's link, at 0x2C0 + 0x28) is
    // a problem.
    struct Whole {
        Bytes bytes;
        std::size_t needed;
    };
    for (const Whole& whole : {Whole{HandMadePe{}.bytes(), 0x35B}, Whole{handMadeElf(), 0x2EC}})
        for (std::size_t size = 0; size < whole.bytes.size(); ++size) {
            const ModuleKind kind =
                sinewrig_tool::readModuleKind(Bytes(whole.bytes.begin(), whole.bytes.begin() + static_cast<std::ptrdiff_t>(size)));
            const bool cutShort = kind.system != ModuleKind::System::Unknown && size < whole.needed;
            EXPECT_EQ(!kind.problems.empty(), cutShort) << "cut at " << size;
        }
    const Bytes pe = HandMadePe{}.bytes();
    // The headers whole, the section cut after the import descriptors: the names from 0x300 on are gone.
    const ModuleKind cut = sinewrig_tool::readModuleKind(Bytes(pe.begin(), pe.begin() + 0x300));
    EXPECT_EQ(cut.what, "PE32+ x86-64 DLL");
    ASSERT_EQ(cut.problems.size(), 2u);
    EXPECT_EQ(cut.problems[0], "export name 1 (address 0x00001120) is not a terminated name in the file");
    EXPECT_EQ(cut.problems[1], "an imported library's name (address 0x00001140) is not a terminated name in the file");
    EXPECT_EQ(sinewrig_tool::readModuleKind(Bytes(pe.begin(), pe.begin() + 0x50)).problems.front(),
              "the file is cut short inside its PE header");
    const Bytes elf = handMadeElf();
    EXPECT_EQ(sinewrig_tool::readModuleKind(Bytes(elf.begin(), elf.begin() + 0x280)).problems.front(),
              "its section headers run past the end of the file");
    // Too short to say more than that it is a PE file cut in its headers.
    EXPECT_EQ(sinewrig_tool::readModuleKind(Bytes(pe.begin(), pe.begin() + 0x45)).what,
              "a PE file cut short inside its headers");
}

TEST(ModuleKind, HostileCountsAndAddressesStopAtTheFirstFault) {
    const Bytes whole = HandMadePe{}.bytes();
    Bytes names = whole;
    put(names, 0x200 + 24, 0xFFFFFFFF, 4);  // four thousand million names; the second entry of the table is 0
    ModuleKind kind = sinewrig_tool::readModuleKind(names);
    EXPECT_EQ(joined(kind.exports), "_mod_descrip");
    EXPECT_EQ(joined(kind.problems), "export name 2 (address 0x00000000) is not a terminated name in the file");

    Bytes table = whole;
    put(table, 0x200 + 32, 0x11FC, 4);  // the name table's last entry is the section's last 4 bytes
    put(table, 0x200 + 24, 2, 4);
    put(table, 0x3FC, 0x1120, 4);
    kind = sinewrig_tool::readModuleKind(table);
    EXPECT_EQ(joined(kind.exports), "_mod_descrip");
    EXPECT_EQ(joined(kind.problems), "the export directory lists 2 names, but the file holds 1");

    Bytes unterminated = whole;
    put(unterminated, 0x240, 0x11FC, 4);
    putText(unterminated, 0x3FC, "abcd");  // the section ends before a NUL
    kind = sinewrig_tool::readModuleKind(unterminated);
    EXPECT_TRUE(kind.exports.empty());
    EXPECT_EQ(joined(kind.problems), "export name 1 (address 0x000011FC) is not a terminated name in the file");

    Bytes openImports = whole;
    const std::size_t directories = 0x58 + 112;
    put(openImports, directories + 8, 0x11F0, 4);  // 16 bytes before the section's end: no room for a descriptor
    kind = sinewrig_tool::readModuleKind(openImports);
    EXPECT_TRUE(kind.imports.empty());
    EXPECT_EQ(joined(kind.problems), "the import directory runs past its section without its closing entry");

    Bytes outside = whole;
    put(outside, directories, 0x5000, 4);  // exports in no section
    put(outside, 0x294 + 12, 0x7FFFFFFF, 4);  // the second import's name nowhere
    kind = sinewrig_tool::readModuleKind(outside);
    EXPECT_EQ(joined(kind.imports), "KERNEL32.dll");
    ASSERT_EQ(kind.problems.size(), 2u);
    EXPECT_EQ(kind.problems[0], "the export directory (address 0x00005000) is not in the file");
    EXPECT_EQ(kind.problems[1], "an imported library's name (address 0x7FFFFFFF) is not a terminated name in the file");

    // 70,000 names, each "_mod_descrip": a DLL's ordinals go to 65,535, and
    // the reader stops at 65,536 names. The section grows to 0x46000 bytes,
    // the name table at 0x2000 (file offset 0x1200).
    Bytes many = whole;
    many.resize(0x200 + 0x46000, 0);
    put(many, 0x148 + 8, 0x46000, 4);
    put(many, 0x148 + 16, 0x46000, 4);
    put(many, 0x200 + 24, 70000, 4);
    put(many, 0x200 + 32, 0x2000, 4);
    for (std::size_t i = 0; i < 70000; ++i) put(many, 0x1200 + 4 * i, 0x1120, 4);
    kind = sinewrig_tool::readModuleKind(many);
    EXPECT_EQ(kind.exports.size(), 65536u);
    EXPECT_EQ(kind.exports.back(), "_mod_descrip");
    EXPECT_EQ(joined(kind.imports), "KERNEL32.dll msvcrt.dll");
    EXPECT_EQ(joined(kind.problems), "more than 65536 exports: the rest are not read");

    Bytes sections = whole;
    put(sections, 0x46, 0xFFFF, 2);
    kind = sinewrig_tool::readModuleKind(sections);
    EXPECT_EQ(joined(kind.problems), "the section table says 65535 sections, but the file is cut short after 17");

    Bytes elf = handMadeElf();
    put(elf, 0x200 + 64 * 1 + 0x18, 0xFFFFFFFFFFFFFF00ull, 8);  // the string table's offset wraps around
    kind = sinewrig_tool::readModuleKind(elf);
    EXPECT_TRUE(kind.exports.empty());
    EXPECT_EQ(joined(kind.problems), "an exported symbol's name is not in the file a needed library's name is not in the file");
}

TEST(ModuleKind, TheBuiltModuleFileIsOfThisBuildAndExportsOnlyItsDescriptor) {
    ModuleKind kind;
    ASSERT_TRUE(sinewrig_tool::readModuleKindOfFile(SINEWRIG_MODULE_FILE, kind));
    EXPECT_TRUE(sinewrig_tool::loadableHere(kind)) << kind.what;
    EXPECT_TRUE(kind.library) << kind.what;
    EXPECT_TRUE(kind.problems.empty()) << joined(kind.problems);
#if defined(_WIN32)
    EXPECT_EQ(kind.what, sizeof(void*) == 8 ? "PE32+ x86-64 DLL" : "PE32 i386 DLL");
    EXPECT_EQ(joined(kind.exports), "_mod_descrip");
    EXPECT_NE(lower(joined(kind.imports)).find("kernel32.dll"), std::string::npos) << joined(kind.imports);
#else
    EXPECT_EQ(kind.what, "ELF 64-bit x86-64 shared object");
    EXPECT_NE(std::find(kind.exports.begin(), kind.exports.end(), "_mod_descrip"), kind.exports.end())
        << joined(kind.exports);
    EXPECT_NE(joined(kind.imports).find("libc.so.6"), std::string::npos) << joined(kind.imports);
#endif
    EXPECT_FALSE(sinewrig_tool::readModuleKindOfFile("no-such-folder/None.p", kind));
}

// `sinewrig check` in this process on a module of the other system.
class ForeignModule : public ScratchFolder {
protected:
    struct Run {
        int status = -1;
        std::string out, err;
    };
    Run check(const std::string& path) {
        std::ostringstream out, err;
        Run run;
        run.status = sinewrig_tool::checkModule({path}, {out, err});
        run.out = out.str();
        run.err = err.str();
        return run;
    }
    std::string writeBytes(const std::string& name, const Bytes& bytes) {
        return write(name, std::string(bytes.begin(), bytes.end()));
    }
};

TEST_F(ForeignModule, CheckSaysWhatItIsAndHowToCheckItFully) {
#if defined(_WIN32)
    const std::string path = writeBytes("Linux.p", handMadeElf());
    const std::string what = "ELF 64-bit x86-64 shared object, for the stand-in host on 64-bit Linux";
    const std::string how = "build/native/sinewrig check " + path + " (on Linux)";
    const std::string system = "a Linux module";
#else
    const std::string path = writeBytes("Windows.p", HandMadePe{}.bytes());
    const std::string what = "PE32+ x86-64 DLL, for a 64-bit Windows host";
    const std::string how = "tools/wine-run build/win64/sinewrig.exe check " + path;
    const std::string system = "a Windows module";
#endif
    const Run run = check(path);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find("\n  INFO " + what + "\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n  INFO exports: _mod_descrip\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(how), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("verdict: NOT CHECKED (" + system + ", not loaded here)\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("FAIL"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find(path + ": " + what), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("ELF header"), std::string::npos) << run.err;
}

TEST_F(ForeignModule, ACutForeignModuleFailsWithItsFaults) {
    // The reader's faults (the section headers cut; the export and the
    // import names gone), and the cut the headers show.
#if defined(_WIN32)
    const Bytes whole = handMadeElf();
    const std::size_t size = 0x280;
    const std::string failed = "verdict: FAIL (2 failed; a Linux module, not loaded here)";
#else
    const Bytes whole = HandMadePe{}.bytes();
    const std::size_t size = 0x300;
    const std::string failed = "verdict: FAIL (3 failed; a Windows module, not loaded here)";
#endif
    const Run run = check(writeBytes("Cut.p", Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size))));
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find(failed), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("FAIL the file is cut short: " + std::to_string(size) + " bytes"), std::string::npos) << run.out;
}

TEST_F(ForeignModule, RunAndTagRefuseItSayingWhatItIs) {
#if defined(_WIN32)
    const std::string path = writeBytes("Linux.p", handMadeElf());
    const std::string what = "ELF 64-bit x86-64 shared object, for the stand-in host on 64-bit Linux; this ";
#else
    const std::string path = writeBytes("Windows.p", HandMadePe{}.bytes());
    const std::string what =
        "PE32+ x86-64 DLL, for a 64-bit Windows host; this Linux build loads only Linux modules (check it with the "
        "matching build's tool: tools/wine-run build/win64/sinewrig.exe check " + path + ")";
#endif
    const std::string examples = std::string(SINEWRIG_SOURCE_DIR) + "/examples/";
    const SinewrigOutcome run =
        runSinewrig({"run", examples + "arm.json", "--plugin", path, "--quiet", "--csv", file("arm.csv")});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(path + ": cannot be loaded: " + what), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(file("arm.csv")));
    const SinewrigOutcome tag = runSinewrig({"tag", examples + "arm.lwo", "--muscles",
                                             write("choices.json", R"({"muscles": [{"skelegon": "Biceps"}]})"), "-o",
                                             file("arm.lwo"), "--plugin", path});
    EXPECT_EQ(tag.status, 2);
    EXPECT_NE(tag.err.find("--plugin " + path + ": cannot be loaded: " + what), std::string::npos) << tag.err;
    EXPECT_FALSE(std::filesystem::exists(file("arm.lwo")));
}

#if !defined(_WIN32)
// The Windows builds' own files, when this machine has built them.
TEST_F(ForeignModule, TheWindowsBuildsModuleFilesAreDescribed) {
    struct Build {
        const char* folder;
        const char* what;
    };
    int found = 0;
    for (const Build& build : {Build{"win32", "PE32 i386 DLL, for a 32-bit Windows host"},
                               Build{"win64", "PE32+ x86-64 DLL, for a 64-bit Windows host"}}) {
        const std::string path = std::string(SINEWRIG_SOURCE_DIR) + "/build/" + build.folder + "/Sinewrig.p";
        if (!std::filesystem::exists(path)) continue;
        ++found;
        const Run run = check(path);
        EXPECT_EQ(run.status, 2) << run.out;
        EXPECT_NE(run.out.find("\n  INFO " + std::string(build.what) + "\n"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("\n  INFO exports: _mod_descrip\n"), std::string::npos) << run.out;
        EXPECT_NE(lower(run.out).find("kernel32.dll"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("tools/wine-run build/" + std::string(build.folder) + "/sinewrig.exe check " + path),
                  std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find("verdict: NOT CHECKED (a Windows module, not loaded here)"), std::string::npos) << run.out;
    }
    if (found == 0) GTEST_SKIP() << "no Windows build here";
}
#endif

}  // namespace
