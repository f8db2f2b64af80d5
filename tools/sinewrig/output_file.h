// Output files appear whole or not at all: each is written beside its place
// under a temporary name and moved there only once everything succeeded.
#pragma once

#include <string>
#include <vector>

namespace sinewrig_tool {

class OutputFiles {
public:
    ~OutputFiles();  // drops whatever was not committed

    // The temporary file to write for `path`.
    std::string stage(const std::string& path);
    // Moves every staged file to its place; false with `error` for the first that cannot be.
    bool commit(std::string& error);

private:
    struct Staged {
        std::string path, temporary;
    };
    std::vector<Staged> staged_;
};

// A path in the system's temporary folder that no other run of this program uses.
std::string temporaryPath(const std::string& name);

bool writeTextFile(const std::string& path, const std::string& text, std::string& error);

}  // namespace sinewrig_tool
