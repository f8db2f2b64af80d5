// The name meant, when a given one is not known: for "the nearest known
// field is ..." and "did you mean ...".
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sinewrig_tool {

// The one of `known` (not empty) fewest one-letter edits from `name`, the
// case of letters aside; of equally near ones, the one that differs from it
// in the fewest letters with case counted, then the first.
std::string nearestName(const std::string& name, const std::vector<std::string>& known);

// The nearest of `known` when it is close enough to be what was meant: at
// most one edit for each three letters of the longer name, rounded up, so
// "Bisep" finds
// "Biceps" but "Leg" finds no "Arm". None when `known` is empty.
std::optional<std::string> closeName(const std::string& name, const std::vector<std::string>& known);

// "; did you mean \"Biceps\"?" for a close name, "" otherwise.
std::string didYouMean(const std::string& name, const std::vector<std::string>& known);

}  // namespace sinewrig_tool
