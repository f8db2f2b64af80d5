// A module file's headers read before the library loader sees it: a file cut
// short, or whose headers describe more than it holds, would be mapped and
// then fault when the missing part is touched.
#pragma once

#include <string>

namespace sinewrig_tool {

// False with `reason` when the ELF or PE headers do not fit the file's size.
// Files of neither kind are left to the loader.
bool headersFitFile(const std::string& path, std::string& reason);

}  // namespace sinewrig_tool
