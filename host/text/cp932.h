// Code page 932 texts, which the host shows and the module writes, to and
// from UTF-8, in which terminals, files and rig files hold them.
#pragma once

#include <string>

namespace host {

// Bytes that are not code page 932 come out as U+FFFD.
std::string utf8FromCp932(const std::string& text);

// False when the text has a character code page 932 cannot hold.
bool cp932FromUtf8(const std::string& text, std::string& out);

}  // namespace host
