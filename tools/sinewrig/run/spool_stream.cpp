#include "tools/sinewrig/run/spool_stream.h"

#include "tools/sinewrig/common/system_reason.h"

namespace sinewrig_tool {

namespace {

constexpr std::size_t kLargeWrite = 1 << 20;

}  // namespace

void SpoolStream::open(const std::string& name, const std::string& spool) {
    name_ = name;
    spool_ = spool;
    stream_.open(spool_, std::ios::binary | std::ios::trunc);
}

void SpoolStream::writeWhenLarge() {
    if (buffer_.size() > kLargeWrite) flush();
}

void SpoolStream::flush() {
    stream_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
}

bool SpoolStream::close(std::string& error) {
    flush();
    stream_.close();
    if (stream_.fail()) {
        error = name_ + ": cannot be written (" + systemReason() + ")";
        return false;
    }
    return true;
}

}  // namespace sinewrig_tool
