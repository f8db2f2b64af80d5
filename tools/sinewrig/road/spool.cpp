#include "tools/sinewrig/road/spool.h"

#include "tools/sinewrig/common/system_reason.h"

namespace sinewrig_tool {

ChannelSpool::~ChannelSpool() {
    if (stream_) std::fclose(stream_);
}

bool ChannelSpool::open(std::string& error) {
    stream_ = std::fopen(path().c_str(), "w+b");
    if (!stream_) error = path() + ": cannot be written (" + systemReason() + ")";
    return stream_ != nullptr;
}

bool ChannelSpool::write(const std::vector<Channels>& channels) {
    const std::size_t bytes = channels.size() * sizeof(Channels);
    return !bytes || std::fwrite(channels.data(), 1, bytes, stream_) == bytes;
}

bool ChannelSpool::read(std::vector<Channels>& channels) {
    const std::size_t bytes = channels.size() * sizeof(Channels);
    return !bytes || std::fread(channels.data(), 1, bytes, stream_) == bytes;
}

void ChannelSpool::rewind() { std::rewind(stream_); }

}  // namespace sinewrig_tool
