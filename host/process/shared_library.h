// A library file as the process maps it: dlopen on Linux, LoadLibrary on
// Windows, so module files are opened the same way everywhere.
#pragma once

#include <string>

namespace host {

// Null with `reason` set ("cannot be loaded: ...") when the file cannot be mapped.
void* openLibrary(const std::string& path, std::string& reason);
void* findSymbol(void* library, const char* name);
void closeLibrary(void* library);

}  // namespace host
