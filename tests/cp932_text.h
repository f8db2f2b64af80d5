// Checks a code page 932 text from the module: natively by decoding it with
// iconv and comparing with the UTF-8 text, on win32 byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <string>

#if !defined(_WIN32)
#include <iconv.h>

inline std::string utf8FromCp932(const std::string& bytes) {
    iconv_t convert = iconv_open("UTF-8", "CP932");
    if (convert == reinterpret_cast<iconv_t>(-1)) return "(no CP932 converter)";
    std::string in = bytes, out(bytes.size() * 4 + 4, '\0');
    char* from = in.data();
    char* to = out.data();
    size_t fromLeft = in.size(), toLeft = out.size();
    size_t result = iconv(convert, &from, &fromLeft, &to, &toLeft);
    iconv_close(convert);
    if (result == static_cast<size_t>(-1)) return "(not CP932)";
    out.resize(out.size() - toLeft);
    return out;
}
#endif

inline void expectCp932(const std::string& actual, const char* bytes, const char* utf8) {
#if defined(_WIN32)
    (void)utf8;
    EXPECT_EQ(actual, bytes);
#else
    (void)bytes;
    EXPECT_EQ(utf8FromCp932(actual), utf8);
#endif
}
