#include "tools/sinewrig/common/output_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#if !defined(_WIN32)
#include <unistd.h>
#endif

#include "tools/sinewrig/common/interruption.h"
#include "tools/sinewrig/common/system_reason.h"
#include "tools/sinewrig/common/temporary_file.h"

namespace sinewrig_tool {

namespace {

namespace fs = std::filesystem;

// The file a path leads to: symlinks followed, a relative link taken from
// the link's own folder; a link to nothing leads to the file it would make.
bool resolveLinks(const std::string& path, std::string& target, std::string& error) {
    fs::path at = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code failed;
        if (!fs::is_symlink(fs::symlink_status(at, failed))) {
            target = at.string();
            return true;
        }
        const fs::path to = fs::read_symlink(at, failed);
        if (failed) {
            error = path + ": cannot follow the link (" + failed.message() + ")";
            return false;
        }
        at = to.is_absolute() ? to : at.parent_path() / to;
    }
    error = path + ": too many levels of symbolic links";
    return false;
}

// Copies a spool into a stream; false with the system's reason.
bool copyInto(const std::string& spool, std::FILE* to, std::string& reason) {
    std::FILE* from = std::fopen(spool.c_str(), "rb");
    if (!from) {
        reason = systemReason();
        return false;
    }
    char buffer[1 << 16];
    bool written = true;
    for (std::size_t got; written && (got = std::fread(buffer, 1, sizeof buffer, from)) > 0;)
        written = std::fwrite(buffer, 1, got, to) == got;
    if (written) written = std::fflush(to) == 0;
    if (!written) reason = systemReason();
    std::fclose(from);
    return written;
}

}  // namespace

OutputFiles::~OutputFiles() {
    for (const Staged& file : staged_) {
        std::remove(file.spool.c_str());
        forgetSpool(file.spool);
    }
}

bool OutputFiles::stage(const std::string& path, std::string& spool, std::string& error) {
    if (path.empty()) {
        error = "an output path is empty";
        return false;
    }
    Staged file{path, path, "", Kind::Replace};
    std::string folder, before, after;  // the spool's place and name around its number
    if (path == "-") {
        for (const Staged& other : staged_)
            if (other.kind == Kind::StandardOutput) {
                error = "-: only one output can go to standard output";
                return false;
            }
        file.kind = Kind::StandardOutput;
        folder = temporaryFolder();
        before = "sinewrig-";
        after = "-stdout";
    } else {
        if (!resolveLinks(path, file.target, error)) return false;
        for (const Staged& other : staged_)
            if (other.target == file.target) {
                error = path + ": is also another output of this run";
                return false;
            }
        std::error_code failed;
        const fs::file_status status = fs::status(file.target, failed);
        if (fs::is_directory(status)) {
            error = path + ": is a folder, not a file";
            return false;
        }
        if (fs::exists(status) && !fs::is_regular_file(status)) {
            // A device or FIFO is written into, never replaced.
            file.kind = Kind::WriteInto;
#if !defined(_WIN32)
            if (access(file.target.c_str(), W_OK) != 0) {
                error = path + ": cannot be written (" + systemReason() + ")";
                return false;
            }
#endif
            folder = temporaryFolder();
            before = "sinewrig-";
            after = "-output";
        } else {
            // Beside its target, so that the rename that puts it in place stays in one file system.
            const fs::path target = file.target;
            folder = target.parent_path().string();
            before = "." + target.filename().string() + ".sinewrig-";
        }
    }
    if (!makeUniqueFile(folder, before, after, file.spool)) {
        error = path + ": cannot be written (" + systemReason() + ")";
        return false;
    }
    staged_.push_back(file);
    spool = file.spool;
    return true;
}

bool OutputFiles::commit(std::ostream& standardOutput, std::string& error) {
    struct Replaced {
        std::string target, backup;  // backup empty: the target did not exist
    };
    // An interruption now would leave some outputs new and others old.
    const InterruptionsHeld held;
    std::vector<Replaced> replaced;
    auto undo = [&] {
        for (auto it = replaced.rbegin(); it != replaced.rend(); ++it) {
            std::error_code ignored;
            if (it->backup.empty())
                fs::remove(it->target, ignored);
            else
                fs::rename(it->backup, it->target, ignored);
        }
    };

    // Regular files first: they can be put back if a later output fails.
    for (const Staged& file : staged_) {
        if (file.kind != Kind::Replace) continue;
        std::error_code failed;
        Replaced done{file.target, ""};
        if (fs::is_regular_file(fs::status(file.target, failed))) {
            done.backup = file.spool + ".kept";
            fs::create_hard_link(file.target, done.backup, failed);
            if (failed) fs::copy_file(file.target, done.backup, failed);
            if (failed) done.backup.clear();
            // The new file keeps the permissions of the one it replaces.
            fs::permissions(file.spool, fs::status(file.target, failed).permissions(), failed);
        }
        fs::rename(file.spool, file.target, failed);
        if (failed) {
            if (!done.backup.empty()) fs::remove(done.backup, failed);
            undo();
            error = file.path + ": cannot be written (" + failed.message() + ")";
            return false;
        }
        forgetSpool(file.spool);
        replaced.push_back(done);
    }
    for (const Staged& file : staged_) {
        std::string reason;
        if (file.kind == Kind::WriteInto) {
            std::FILE* into = std::fopen(file.target.c_str(), "wb");
            bool written = into && copyInto(file.spool, into, reason);
            if (!into) reason = systemReason();
            if (into && std::fclose(into) != 0 && written) {
                written = false;
                reason = systemReason();
            }
            if (!written) {
                undo();
                error = file.path + ": cannot be written (" + reason + ")";
                return false;
            }
        } else if (file.kind == Kind::StandardOutput) {
            std::ifstream from(file.spool, std::ios::binary);
            if (from.peek() != std::ifstream::traits_type::eof()) standardOutput << from.rdbuf();
            if (!standardOutput.flush()) {
                undo();
                error = "-: standard output cannot be written";
                return false;
            }
        }
    }
    for (const Replaced& done : replaced)
        if (!done.backup.empty()) std::remove(done.backup.c_str());
    for (const Staged& file : staged_)
        if (file.kind != Kind::Replace) {
            std::remove(file.spool.c_str());
            forgetSpool(file.spool);
        }
    staged_.clear();
    return true;
}

bool writeTextFile(const std::string& path, const std::string& text, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    std::string reason = written ? "" : systemReason();
    if (file && std::fclose(file) != 0 && written) {
        written = false;
        reason = systemReason();
    }
    if (!written) error = path + ": cannot be written (" + reason + ")";
    return written;
}

}  // namespace sinewrig_tool
