#include "tools/sinewrig/common/temporary_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "tools/sinewrig/common/interruption.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace sinewrig_tool {

namespace {

// Names tried before giving up: only files of runs that ended without
// cleaning up, with this run's process number, stand in the way.
constexpr int kTries = 1000;

unsigned long processNumber() {
#if defined(_WIN32)
    return GetCurrentProcessId();
#else
    return static_cast<unsigned long>(getpid());
#endif
}

// Made only when no file has the name, so a name another run took is never reused.
bool createNew(const std::string& path) {
#if defined(_WIN32)
    const int file = _open(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    return file >= 0 && _close(file) == 0;
#else
    const int file = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    return file >= 0 && ::close(file) == 0;
#endif
}

}  // namespace

bool makeUniqueFile(const std::string& folder, const std::string& before, const std::string& after,
                    std::string& path) {
    const std::string stem = before + std::to_string(processNumber()) + "-";
    for (int number = 1; number <= kTries; ++number) {
        path = (std::filesystem::path(folder) / (stem + std::to_string(number) + after)).string();
        if (createNew(path)) {
            noteSpool(path);
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

std::string temporaryFolder() {
    std::error_code failed;
    return std::filesystem::temp_directory_path(failed).string();
}

TemporaryFile::TemporaryFile(const std::string& name) {
    made_ = makeUniqueFile(temporaryFolder(), "sinewrig-", "-" + name, path_);
}

TemporaryFile::~TemporaryFile() {
    if (!made_) return;
    std::remove(path_.c_str());
    forgetSpool(path_);
}

}  // namespace sinewrig_tool
