#include "tools/sinewrig/common/display_width.h"

#include <iterator>

namespace sinewrig_tool {

namespace {

struct Span {
    char32_t first, last;
};

// Wide and fullwidth ranges; halfwidth katakana (U+FF61 to U+FF9F) stay narrow.
constexpr Span kWide[] = {{0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},
                          {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},
                          {0xFE30, 0xFE4F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F},
                          {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD}};
constexpr Span kCombining[] = {{0x0300, 0x036F}, {0x3099, 0x309A}, {0x200B, 0x200F}};

bool within(char32_t c, const Span* spans, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (c >= spans[i].first && c <= spans[i].last) return true;
    return false;
}

std::size_t columnsOf(char32_t c) {
    if (within(c, kCombining, std::size(kCombining))) return 0;
    return within(c, kWide, std::size(kWide)) ? 2 : 1;
}

// The character starting at `at` and how many bytes it takes; 0 bytes when
// the sequence there is not valid UTF-8.
std::size_t decode(const std::string& text, std::size_t at, char32_t& c) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || at + length > text.size()) return 0;
    c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[at + i]);
        if ((next >> 6) != 0x2) return 0;
        c = (c << 6) | (next & 0x3F);
    }
    return length;
}

}  // namespace

std::size_t displayWidth(const std::string& text) {
    std::size_t columns = 0;
    for (std::size_t at = 0; at < text.size();) {
        char32_t c = 0;
        const std::size_t length = decode(text, at, c);
        columns += length == 0 ? 1 : columnsOf(c);
        at += length == 0 ? 1 : length;
    }
    return columns;
}

std::string padToWidth(const std::string& text, std::size_t width) {
    const std::size_t shown = displayWidth(text);
    return shown >= width ? text : text + std::string(width - shown, ' ');
}

}  // namespace sinewrig_tool
