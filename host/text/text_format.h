// Numbers and names as the stand-in and the sinewrig tool print them.
#pragma once

#include <string>
#include <string_view>

namespace host {

// As "%.*g" prints it with `significantDigits`, but "nan", "inf" and "-inf"
// alike on every system and for every NaN.
std::string numberText(double value, int significantDigits);

// "text", in double quotes.
std::string quoted(const std::string& text);

// A value for a message: in double quotes, cut when long, bytes outside
// printable ASCII (and quotes and backslashes) as \xNN.
std::string quotedForMessage(std::string_view text);

// The shortest decimal that reads back to the same number, appended: what
// scene files take, where numberText's fixed digits would lose or pad.
void appendShortestDecimal(std::string& out, double value);
void appendShortestDecimal(std::string& out, float value);
std::string shortestDecimal(double value);

}  // namespace host
