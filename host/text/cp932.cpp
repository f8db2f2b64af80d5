#include "host/text/cp932.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace host {

namespace {

bool isAscii(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

std::string utf8FromCp932(const std::string& text) {
    if (isAscii(text)) return text;
#if defined(_WIN32)
    const int wide = MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wide <= 0) return text;
    std::wstring utf16(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), utf16.data(), wide);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, out.data(), bytes, nullptr, nullptr);
    return out;
#else
    iconv_t convert = iconv_open("UTF-8", "CP932");
    if (convert == reinterpret_cast<iconv_t>(-1)) return text;
    std::string out;
    char buffer[256];
    std::string in = text;
    char* from = in.data();
    std::size_t fromLeft = in.size();
    while (fromLeft > 0) {
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        if (iconv(convert, &from, &fromLeft, &to, &toLeft) == static_cast<std::size_t>(-1) && to == buffer) {
            out += "\xEF\xBF\xBD";  // a byte that starts no code page 932 character
            ++from;
            --fromLeft;
            continue;
        }
        out.append(buffer, static_cast<std::size_t>(to - buffer));
    }
    iconv_close(convert);
    return out;
#endif
}

bool cp932FromUtf8(const std::string& text, std::string& out) {
    if (isAscii(text)) {
        out = text;
        return true;
    }
#if defined(_WIN32)
    const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wide <= 0) return false;
    std::wstring utf16(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf16.data(), wide);
    BOOL lost = FALSE;
    const int bytes = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, utf16.data(), wide, nullptr, 0, nullptr, &lost);
    if (bytes <= 0 || lost) return false;
    out.assign(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, utf16.data(), wide, out.data(), bytes, nullptr, nullptr);
    return true;
#else
    iconv_t convert = iconv_open("CP932", "UTF-8");
    if (convert == reinterpret_cast<iconv_t>(-1)) return false;
    std::string in = text, converted(text.size() * 2 + 4, '\0');
    char* from = in.data();
    char* to = converted.data();
    std::size_t fromLeft = in.size(), toLeft = converted.size();
    const bool whole = iconv(convert, &from, &fromLeft, &to, &toLeft) != static_cast<std::size_t>(-1) && fromLeft == 0;
    iconv_close(convert);
    if (!whole) return false;
    converted.resize(converted.size() - toLeft);
    out = converted;
    return true;
#endif
}

}  // namespace host
