// Addresses and magic numbers as the tool's reports print them.
#pragma once

#include <cstdio>
#include <string>

namespace sinewrig_tool {

// "0x0000002A"
inline std::string hexNumber(unsigned long long value, int digits = 8) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%0*llX", digits, value);
    return text;
}

}  // namespace sinewrig_tool
