// How wide a UTF-8 text shows in a terminal, for tables that stay aligned
// with Japanese names: East Asian wide and fullwidth characters take two
// columns, combining marks none, everything else one.
#pragma once

#include <cstddef>
#include <string>

namespace sinewrig_tool {

// Columns `text` takes; a byte that is not valid UTF-8 counts as one.
std::size_t displayWidth(const std::string& text);

// `text` followed by spaces up to `width` columns (none when it is wider).
std::string padToWidth(const std::string& text, std::size_t width);

}  // namespace sinewrig_tool
