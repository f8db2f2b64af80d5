// What a module file is, read from its headers alone, for a file this build
// cannot load, given to `check`, `run` or `tag` (a Windows DLL given to the Linux tool, a Linux library or a
// DLL of the other width given to a Windows one): its format, machine and
// kind, the host it is built for, and the names it exports and imports.
// Every offset is checked against the file, so a cut or hostile file gives
// problems, never a read outside it.
#pragma once

#include <string>
#include <vector>

namespace sinewrig_tool {

struct ModuleKind {
    enum class System { Unknown, Linux, Windows };
    System system = System::Unknown;
    std::string format;   // "PE32+", "ELF 64-bit"
    std::string machine;  // "x86-64", "i386", "machine 0x01C4"
    bool library = false;  // a DLL, a shared object
    std::string what;     // "PE32+ x86-64 DLL"
    std::string host;     // "a 64-bit Windows host"; "" for none this project builds for
    std::vector<std::string> exports, imports;  // imports: the libraries it needs
    std::vector<std::string> problems;          // what could not be read, and why
};

// `bytes` are the whole file.
ModuleKind readModuleKind(const std::vector<unsigned char>& bytes);

// False when the file cannot be read; `kind` is then left Unknown.
bool readModuleKindOfFile(const std::string& path, ModuleKind& kind);

// Whether this build's library loader can load a module of this kind; an
// Unknown file is left to the loader, which names what is wrong with it.
bool loadableHere(const ModuleKind& kind);

// "PE32+ x86-64 DLL, for a 64-bit Windows host"; a program "..., which no
// host loads as a module".
std::string kindAndHost(const ModuleKind& kind);

// What this build loads: "this Linux build loads only Linux modules".
std::string modulesLoadedHere();

// "" when the file is of a kind this build's loader can try, or cannot be
// read (the loader then says why); else what it is and what this build
// loads, for a message that refuses it.
std::string foreignModuleReason(const std::string& path);

// The command that checks a module of this kind fully, or "" when no build
// of this project can: "tools/wine-run build/win64/sinewrig.exe check PATH".
std::string fullCheckCommand(const ModuleKind& kind, const std::string& path);

}  // namespace sinewrig_tool
