// The name meant, when a given one is not known: for "the nearest known
// field is ..." and the like.
#pragma once

#include <string>
#include <vector>

namespace sinewrig_tool {

// The one of `known` (not empty) fewest one-letter edits from `name`, the
// case of letters aside; of equally near ones, the first.
std::string nearestName(const std::string& name, const std::vector<std::string>& known);

}  // namespace sinewrig_tool
