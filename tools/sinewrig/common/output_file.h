// The outputs of one run appear together or not at all. Each is written to a
// spool first and only put in place once every output of the run succeeded:
// a regular file (or a symlink's target) is replaced by a rename, so a reader
// never sees it half-written; a device or FIFO, and "-" (standard output),
// get the spool's bytes copied into them. Nothing but a regular file is ever
// replaced, and if putting one output in place fails, the files already
// replaced get their earlier contents back.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace sinewrig_tool {

class OutputFiles {
public:
    OutputFiles() = default;
    OutputFiles(const OutputFiles&) = delete;
    OutputFiles& operator=(const OutputFiles&) = delete;
    ~OutputFiles();  // drops every spool not committed

    // Checks that `path` can take an output and makes its spool, which the
    // caller writes. False with `error` ("PATH: reason") when it cannot.
    bool stage(const std::string& path, std::string& spool, std::string& error);
    // Puts every output in place; `standardOutput` takes the one named "-".
    // False with `error` for the first that cannot be, and then none is left.
    bool commit(std::ostream& standardOutput, std::string& error);

private:
    enum class Kind { Replace, WriteInto, StandardOutput };
    struct Staged {
        std::string path;    // as the user gave it
        std::string target;  // the file written: a symlink resolved
        std::string spool;
        Kind kind;
    };
    std::vector<Staged> staged_;
};

// The whole of `text` into `path`; false with `error` ("PATH: cannot be
// written (reason)") when it cannot be.
bool writeTextFile(const std::string& path, const std::string& text, std::string& error);

}  // namespace sinewrig_tool
