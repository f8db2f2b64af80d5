// A stream the frames of a run are written into as they come, into a spool
// of the run, in large writes.
#pragma once

#include <fstream>
#include <string>

namespace sinewrig_tool {

class SpoolStream {
public:
    // `name` is what a failure names: the user's path, or what the spool is.
    void open(const std::string& name, const std::string& spool);
    bool active() const { return !spool_.empty(); }

    // Appended text is written once there is a good deal of it.
    std::string& text() { return buffer_; }
    void writeWhenLarge();

    // Writes what is left and closes; false with `error` when any of it failed.
    bool close(std::string& error);

private:
    void flush();

    std::string name_, spool_;
    std::ofstream stream_;
    std::string buffer_;
};

}  // namespace sinewrig_tool
