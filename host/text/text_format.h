// Numbers and names as the stand-in and the sinewrig tool print them.
#pragma once

#include <string>

namespace host {

// As "%.*g" prints it with `significantDigits`, but "nan", "inf" and "-inf"
// alike on every system and for every NaN.
std::string numberText(double value, int significantDigits);

// "text", in double quotes.
std::string quoted(const std::string& text);

}  // namespace host
