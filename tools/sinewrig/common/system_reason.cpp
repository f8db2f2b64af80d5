#include "tools/sinewrig/common/system_reason.h"

#include <cerrno>
#include <system_error>

namespace sinewrig_tool {

std::string systemReason() { return std::generic_category().message(errno); }

}  // namespace sinewrig_tool
