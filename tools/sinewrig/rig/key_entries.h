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
// `isSkelegon` says whether a bone's name is one of the rig's skelegons.
std::vector<RigKey> readKeyEntries(const Json& list, const std::function<bool(const std::string&)>& isSkelegon);

}  // namespace sinewrig_tool
