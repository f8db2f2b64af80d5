// The round trip's spool: the first pass over the frames writes each frame's
// channels into it, the pass over the reloaded scene reads them back to
// compare, so neither keeps the frames in memory.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tools/sinewrig/common/temporary_file.h"
#include "tools/sinewrig/road/channels.h"

namespace sinewrig_tool {

class ChannelSpool {
public:
    ChannelSpool() = default;
    ChannelSpool(const ChannelSpool&) = delete;
    ChannelSpool& operator=(const ChannelSpool&) = delete;
    ~ChannelSpool();

    // False with `error` naming the spool and the system's reason.
    bool open(std::string& error);
    const std::string& path() const { return file_.path(); }

    // False when the channels cannot be written, or read back in full.
    bool write(const std::vector<Channels>& channels);
    bool read(std::vector<Channels>& channels);
    // Back to the first frame written.
    void rewind();

private:
    TemporaryFile file_{"channels"};
    std::FILE* stream_ = nullptr;
};

}  // namespace sinewrig_tool
