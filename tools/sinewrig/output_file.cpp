#include "tools/sinewrig/output_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace sinewrig_tool {

OutputFiles::~OutputFiles() {
    for (const Staged& file : staged_) std::remove(file.temporary.c_str());
}

std::string OutputFiles::stage(const std::string& path) {
    staged_.push_back({path, path + ".partial"});
    return staged_.back().temporary;
}

bool OutputFiles::commit(std::string& error) {
    for (const Staged& file : staged_) {
        std::error_code failed;
        std::filesystem::rename(file.temporary, file.path, failed);
        if (failed) {
            error = file.path + ": cannot be written (" + failed.message() + ")";
            return false;
        }
    }
    staged_.clear();
    return true;
}

std::string temporaryPath(const std::string& name) {
    static int made = 0;
#if defined(_WIN32)
    const unsigned long process = GetCurrentProcessId();
#else
    const unsigned long process = static_cast<unsigned long>(getpid());
#endif
    return (std::filesystem::temp_directory_path() /
            ("sinewrig-" + std::to_string(process) + "-" + std::to_string(++made) + "-" + name))
        .string();
}

bool writeTextFile(const std::string& path, const std::string& text, std::string& error) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    if (!file.flush()) {
        error = path + ": cannot be written";
        return false;
    }
    return true;
}

}  // namespace sinewrig_tool
