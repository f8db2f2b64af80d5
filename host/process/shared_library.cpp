#include "host/process/shared_library.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace host {

void* openLibrary(const std::string& path, std::string& reason) {
#if defined(_WIN32)
    HMODULE library = LoadLibraryA(path.c_str());
    if (!library) reason = "cannot be loaded (Windows error " + std::to_string(GetLastError()) + ")";
    return reinterpret_cast<void*>(library);
#else
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        reason = std::string("cannot be loaded: ") + (why ? why : "unknown error");
    }
    return library;
#endif
}

void* findSymbol(void* library, const char* name) {
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), name));
#else
    return dlsym(library, name);
#endif
}

void closeLibrary(void* library) {
#if defined(_WIN32)
    FreeLibrary(reinterpret_cast<HMODULE>(library));
#else
    dlclose(library);
#endif
}

}  // namespace host
