// Why the latest system call failed, as the system words it.
#pragma once

#include <string>

namespace sinewrig_tool {

// As "No such file or directory".
std::string systemReason();

}  // namespace sinewrig_tool
