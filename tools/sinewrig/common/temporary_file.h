// Files the tool makes for itself: spools of a run's outputs and of its
// frames, under names no other file has, made empty when they are named so
// no other run can take the name. A run keeps no count of them: the file
// system says which names are taken.
#pragma once

#include <string>

namespace sinewrig_tool {

// The system's temporary folder; the current one when the system's setting
// names no folder.
std::string temporaryFolder();

// Makes an empty file `folder`/`before`PID-N`after`, with the first N that
// names no file yet, noted as a spool to remove if the run is interrupted
// (interruption.h). False, with `path` the name tried and the system's
// reason in errno, when none can be made.
bool makeUniqueFile(const std::string& folder, const std::string& before, const std::string& after,
                    std::string& path);

// An empty file "sinewrig-PID-N-`name`" in the system's temporary folder,
// removed when this goes. When it cannot be made, `path` still names it, so
// that opening it fails with the system's reason.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& name);
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    const std::string& path() const { return path_; }

private:
    std::string path_;
    bool made_ = false;
};

}  // namespace sinewrig_tool
