#include "host/text/text_format.h"

#include <charconv>
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

std::string quotedForMessage(std::string_view text) {
    constexpr std::size_t kLongest = 40;
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size() && i < kLongest; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", c);
            out += escape;
        }
    }
    if (text.size() > kLongest) out += "...";
    return out + "\"";
}

void appendShortestDecimal(std::string& out, double value) {
    char text[40];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void appendShortestDecimal(std::string& out, float value) {
    char text[40];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

std::string shortestDecimal(double value) {
    std::string text;
    appendShortestDecimal(text, value);
    return text;
}

}  // namespace host
