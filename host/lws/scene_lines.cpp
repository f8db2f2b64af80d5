#include "host/lws/scene_lines.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace host::lws {

bool Lines::next(Line& line) {
    if (at_ >= all_.size()) return false;
    const char* start = all_.data() + at_;
    const void* found = std::memchr(start, '\n', all_.size() - at_);
    const std::size_t stop = found ? static_cast<std::size_t>(static_cast<const char*>(found) - all_.data()) : all_.size();
    std::size_t textEnd = stop;
    if (textEnd > at_ && all_[textEnd - 1] == '\r') --textEnd;
    line.text = all_.substr(at_, textEnd - at_);
    line.begin = at_;
    line.end = found ? stop + 1 : stop;
    line.number = ++number_;
    at_ = line.end;
    return true;
}

std::string_view afterKeyword(std::string_view content) {
    std::size_t at = 0;
    nextToken(content, at);
    return trimmedLeft(content.substr(at));
}

Values::Values(std::string_view content) : content_(content) { keyword_ = nextToken(content_, at_); }

std::string_view Values::rest() const { return trimmedLeft(content_.substr(at_)); }

namespace {

// Most numbers in a scene are small whole ones ("0", "1"); these read exactly
// without the general parser. False for anything else.
bool wholeNumber(std::string_view token, double& value) {
    constexpr std::size_t kExactDigits = 15;
    const bool negative = token[0] == '-';
    if (negative) token.remove_prefix(1);
    if (token.empty() || token.size() > kExactDigits) return false;
    long long whole = 0;
    for (char c : token) {
        if (c < '0' || c > '9') return false;
        whole = whole * 10 + (c - '0');
    }
    value = negative ? -static_cast<double>(whole) : static_cast<double>(whole);
    return true;
}

}  // namespace

NumberRead readDouble(std::string_view token, double& value) {
    if (token.empty()) return NumberRead::missing;
    if (token.size() > 1 && token[0] == '+') token.remove_prefix(1);
    if (wholeNumber(token, value)) return NumberRead::ok;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (end != token.data() + token.size()) return NumberRead::unparsable;
    if (error == std::errc::result_out_of_range) return NumberRead::notFinite;
    if (error != std::errc()) return NumberRead::unparsable;
    return std::isfinite(value) ? NumberRead::ok : NumberRead::notFinite;
}

NumberRead readInteger(std::string_view token, long long& value) {
    if (token.empty()) return NumberRead::missing;
    if (token.size() > 1 && token[0] == '+') token.remove_prefix(1);
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error == std::errc() && end == token.data() + token.size()) return NumberRead::ok;
    return error == std::errc::result_out_of_range ? NumberRead::notFinite : NumberRead::unparsable;
}

std::optional<std::uint32_t> readHex32(std::string_view token) {
    if (token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X')) token.remove_prefix(2);
    std::uint32_t value = 0;
    if (token.empty() || token[0] == '+' || token[0] == '-') return std::nullopt;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value, 16);
    if (error != std::errc() || end != token.data() + token.size()) return std::nullopt;
    return value;
}

}  // namespace host::lws
