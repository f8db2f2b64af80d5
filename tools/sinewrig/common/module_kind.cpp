#include "tools/sinewrig/common/module_kind.h"

#include <fstream>
#include <iterator>

#include "tools/sinewrig/common/module_file_bytes.h"

namespace sinewrig_tool {

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
