#include "host/text/text_format.h"

#include <cmath>
#include <cstdio>

namespace host {

std::string numberText(double value, int significantDigits) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", significantDigits, value);
    return text;
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace host
