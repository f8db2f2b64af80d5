// MFLG's text: the flag bits written in decimal, and read back as the C
// library's atoi reads them, which is how the host's own tools always have.
#pragma once

#include <climits>
#include <cstdio>

namespace sinewrig {

struct MuscleFlagsText {
    char text[12];  // "-2147483648" and its terminator
};

inline MuscleFlagsText muscleFlagsText(int flags) {
    MuscleFlagsText written;
    std::snprintf(written.text, sizeof written.text, "%d", flags);
    return written;
}

namespace muscle_flags_detail {

// The C locale's white space, tested without <cctype>, whose functions are
// undefined for the negative chars that non-ASCII tag bytes give.
inline bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace muscle_flags_detail

// Leading white space, a sign, decimal digits up to the first other
// character, 0 without digits or for null. Values beyond int saturate instead
// of overflowing.
inline int readMuscleFlags(const char* text) {
    using namespace muscle_flags_detail;
    if (!text) return 0;
    while (isSpace(*text)) ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    // Accumulated towards the sign's end of the range so INT_MIN is reached exactly.
    long long value = 0;
    for (; isDigit(*text); ++text) {
        value = value * 10 + (*text - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) return value > INT_MAX ? INT_MIN : static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

// Whether the text is exactly one decimal number (a sign, then digits and
// nothing else), as muscleFlagsText writes it; readMuscleFlags reads any text.
inline bool isMuscleFlagsNumber(const char* text) {
    using namespace muscle_flags_detail;
    if (!text) return false;
    if (*text == '-' || *text == '+') ++text;
    if (!isDigit(*text)) return false;
    while (isDigit(*text)) ++text;
    return *text == '\0';
}

}  // namespace sinewrig
