// Walking a scene file's bytes line by line without copying them, and reading
// the values of a line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace host::lws {

struct Line {
    std::string_view text;  // without its line end
    std::size_t begin = 0;  // where it starts in the file
    std::size_t end = 0;    // after its line end
    std::size_t number = 0; // from 1
};

class Lines {
public:
    explicit Lines(std::string_view all) : all_(all) {}
    // The next line; false at the end of the file.
    bool next(Line& line);
    std::size_t lastNumber() const { return number_; }  // the number of the line read last

private:
    std::string_view all_;
    std::size_t at_ = 0, number_ = 0;
};

// Inline: a large scene's every line goes through these.
inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

inline std::string_view trimmedLeft(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && isBlank(text[at])) ++at;
    return text.substr(at);
}

inline std::string_view indentOf(std::string_view text) { return text.substr(0, text.size() - trimmedLeft(text).size()); }

// The next blank-separated value from `at` on; empty at the end.
inline std::string_view nextToken(std::string_view text, std::size_t& at) {
    while (at < text.size() && isBlank(text[at])) ++at;
    const std::size_t start = at;
    while (at < text.size() && !isBlank(text[at])) ++at;
    return text.substr(start, at - start);
}
// What follows the first value (the keyword), without the blanks before it.
std::string_view afterKeyword(std::string_view content);

// A line's values after its keyword, read in turn.
class Values {
public:
    explicit Values(std::string_view content);  // the line without its indentation
    std::string_view keyword() const { return keyword_; }
    std::string_view next() { return nextToken(content_, at_); }
    std::string_view rest() const;  // what is left, without the blanks before it

private:
    std::string_view content_, keyword_;
    std::size_t at_ = 0;
};

enum class NumberRead { ok, missing, unparsable, notFinite };
NumberRead readDouble(std::string_view token, double& value);
NumberRead readInteger(std::string_view token, long long& value);
// Hex digits, with or without 0x, that fit 32 bits.
std::optional<std::uint32_t> readHex32(std::string_view token);

}  // namespace host::lws
