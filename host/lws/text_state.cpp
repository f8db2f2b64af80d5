#include "host/lws/text_state.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "host/lws/scene_lines.h"
#include "host/text/text_format.h"

namespace host::lws {

namespace {

void appendHex(std::string& out, std::uint64_t value) {
    char text[24];
    out.append(text, std::to_chars(text, text + sizeof text, value, 16).ptr);
}

void appendDecimal(std::string& out, long long value) {
    char text[24];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

template <class T>
std::optional<T> parsed(std::string_view text, int base = 10) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

template <class T>
std::optional<T> unsignedValue(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
    if (text.empty() || text[0] == '+' || text[0] == '-') return std::nullopt;
    const auto value = parsed<std::uint64_t>(text, 16);
    if (!value || *value > std::numeric_limits<T>::max()) return std::nullopt;
    return static_cast<T>(*value);
}

template <class T>
std::optional<T> signedValue(std::string_view text) {
    if (text.size() > 1 && text[0] == '+') text.remove_prefix(1);
    const auto value = parsed<long long>(text);
    if (!value || *value < std::numeric_limits<T>::min() || *value > std::numeric_limits<T>::max()) return std::nullopt;
    return static_cast<T>(*value);
}

// Only finite floats: a scene's "nan" or "inf" reads as no value.
std::optional<float> floatValue(std::string_view text) {
    if (text.size() > 1 && text[0] == '+') text.remove_prefix(1);
    float value = 0.0f;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

template <class T, class Append>
void TextSaveState::line(const T* values, int count, Append append) {
    if (!values || count <= 0) return;
    out_ += indent_;
    for (int i = 0; i < count; ++i) {
        if (i > 0) out_ += ' ';
        append(out_, values[i]);
    }
    out_ += lineEnd_;
}

struct TextWriter {
    static TextSaveState& state(void* data) { return *static_cast<TextSaveState*>(data); }
    static void hex(std::string& out, std::uint64_t value) { appendHex(out, value); }
    static void decimal(std::string& out, long long value) { appendDecimal(out, value); }
    static void shortest(std::string& out, float value) { appendShortestDecimal(out, value); }
    static void bytes(void* d, const char* v, int n) {
        state(d).line(reinterpret_cast<const unsigned char*>(v), n, hex);
    }
    static void i1(void* d, const char* v, int n) { state(d).line(reinterpret_cast<const signed char*>(v), n, decimal); }
    static void i2(void* d, const short* v, int n) { state(d).line(v, n, decimal); }
    static void i4(void* d, const int* v, int n) { state(d).line(v, n, decimal); }
    static void u1(void* d, const unsigned char* v, int n) { state(d).line(v, n, hex); }
    static void u2(void* d, const unsigned short* v, int n) { state(d).line(v, n, hex); }
    static void u4(void* d, const unsigned int* v, int n) { state(d).line(v, n, hex); }
    static void fp(void* d, const float* v, int n) { state(d).line(v, n, shortest); }
};

TextSaveState::TextSaveState(std::string& out, std::string indent, std::string lineEnd)
    : out_(out), indent_(std::move(indent)), lineEnd_(std::move(lineEnd)) {
    record_.ioMode = LWIO_SCENE;
    record_.writeData = this;
    record_.write = TextWriter::bytes;
    record_.writeI1 = TextWriter::i1;
    record_.writeI2 = TextWriter::i2;
    record_.writeI4 = TextWriter::i4;
    record_.writeU1 = TextWriter::u1;
    record_.writeU2 = TextWriter::u2;
    record_.writeU4 = TextWriter::u4;
    record_.writeFP = TextWriter::fp;
}

template <class T, class Parse>
int TextLoadState::take(T* values, int count, Parse parse) {
    if (atEnd()) return -1;
    if (!values || count <= 0) return 0;
    const std::string_view line = lines_[next_++];
    std::size_t at = 0;
    int taken = 0;
    while (taken < count) {
        const std::string_view token = nextToken(line, at);
        if (token.empty()) break;
        const auto value = parse(token);
        if (!value) break;
        values[taken++] = static_cast<T>(*value);
    }
    return taken;
}

struct TextReader {
    static TextLoadState& state(void* data) { return *static_cast<TextLoadState*>(data); }
    static int bytes(void* d, char* v, int n) { return state(d).take(v, n, unsignedValue<unsigned char>); }
    static int i1(void* d, char* v, int n) { return state(d).take(v, n, signedValue<signed char>); }
    static int i2(void* d, short* v, int n) { return state(d).take(v, n, signedValue<short>); }
    static int i4(void* d, int* v, int n) { return state(d).take(v, n, signedValue<int>); }
    static int u1(void* d, unsigned char* v, int n) { return state(d).take(v, n, unsignedValue<unsigned char>); }
    static int u2(void* d, unsigned short* v, int n) { return state(d).take(v, n, unsignedValue<unsigned short>); }
    static int u4(void* d, unsigned int* v, int n) { return state(d).take(v, n, unsignedValue<unsigned int>); }
    static int fp(void* d, float* v, int n) { return state(d).take(v, n, floatValue); }
};

TextLoadState::TextLoadState(std::vector<std::string_view> lines) : lines_(std::move(lines)) {
    record_.ioMode = LWIO_SCENE;
    record_.readData = this;
    record_.read = TextReader::bytes;
    record_.readI1 = TextReader::i1;
    record_.readI2 = TextReader::i2;
    record_.readI4 = TextReader::i4;
    record_.readU1 = TextReader::u1;
    record_.readU2 = TextReader::u2;
    record_.readU4 = TextReader::u4;
    record_.readFP = TextReader::fp;
}

}  // namespace host::lws
