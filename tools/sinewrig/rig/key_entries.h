// The entries of a rig file's "keys": keys on the bones' position and
// rotation, at most one on each channel of a bone at a frame.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/sinewrig/common/field_reader.h"
#include "tools/sinewrig/rig/rig.h"

namespace sinewrig_tool {

std::vector<std::string> keyFields();

// Reads `list`, the value of "keys"; throws a FieldError at the first fault.
// `boneFault` says what is wrong with a bone's name ("" when it is one of
// the rig's skelegons).
std::vector<RigKey> readKeyEntries(const Json& list, const std::function<std::string(const std::string&)>& boneFault);

}  // namespace sinewrig_tool
