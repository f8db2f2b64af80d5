#include "tools/sinewrig/check/report.h"

#include <cstdio>

#include "host/text/cp932.h"
#include "tools/sinewrig/console.h"

namespace sinewrig_tool {

void CheckReport::heading(const std::string& title) { out_ << title << std::endl; }

void CheckReport::line(const char* mark, const std::string& what) { out_ << "  " << mark << " " << what << std::endl; }

void CheckReport::relay(const std::string& text) { out_ << text << std::endl; }

void CheckReport::fail(const std::string& what) {
    ++failures_;
    line("FAIL", what);
}

void CheckReport::check(bool passed, const std::string& what) {
    if (passed)
        pass(what);
    else
        fail(what);
}

int CheckReport::verdict() {
    if (failures_ == 0) {
        out_ << "verdict: PASS" << std::endl;
        return kExitOk;
    }
    out_ << "verdict: FAIL (" << failures_ << " failed)" << std::endl;
    return kExitFailed;
}

std::string quotedText(const char* text) {
    if (!text) return "null";
    // The host's texts are code page 932: shown decoded when they are that,
    // byte for byte otherwise.
    const std::string decoded = host::utf8FromCp932(text);
    const bool readable = decoded.find("\xEF\xBF\xBD") == std::string::npos;
    std::string out = "\"";
    for (const char* c = readable ? decoded.c_str() : text; *c; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if ((byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\') || (readable && byte >= 0x80)) {
            out += *c;
        } else {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        }
    }
    return out + "\"";
}

}  // namespace sinewrig_tool
