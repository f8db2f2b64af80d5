#include "host/process/module_file.h"

#include <cstdio>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace host {

namespace {

constexpr unsigned kSyncWord = 0x04121994;
constexpr unsigned kModuleVersion = 3;
constexpr unsigned kMachineX86 = 0x300;

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

std::string hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

}  // namespace

std::unique_ptr<ModuleFile> ModuleFile::load(const std::string& path, std::string& error) {
    std::string reason;
    void* library = openLibrary(path, reason);
    if (!library) {
        error = path + ": " + reason;
        return nullptr;
    }
    auto* descriptor = static_cast<const ModuleDescriptor*>(findSymbol(library, "_mod_descrip"));
    if (!descriptor)
        reason = "exports no _mod_descrip";
    else if (descriptor->sysSync != kSyncWord)
        reason = "bad sync word " + hex(descriptor->sysSync) + ", want " + hex(kSyncWord);
    else if (descriptor->sysVersion != kModuleVersion)
        reason = "module system version " + std::to_string(descriptor->sysVersion) + ", want 3";
#if defined(_WIN32)
    else if (descriptor->sysMachine != kMachineX86)
        reason = "machine type " + hex(descriptor->sysMachine) + ", want 0x300";
#endif
    else if (!descriptor->startup)
        reason = "has no startup function";
    if (!reason.empty()) {
        closeLibrary(library);
        error = path + ": " + reason;
        return nullptr;
    }
    void* serverData = descriptor->startup();
    if (!serverData) {
        closeLibrary(library);
        error = path + ": startup failed (returned null)";
        return nullptr;
    }
    std::unique_ptr<ModuleFile> module(new ModuleFile);
    module->library_ = library;
    module->descriptor_ = descriptor;
    module->serverData_ = serverData;
    return module;
}

bool ModuleFile::isLoaded(const std::string& path) {
#if defined(_WIN32)
    // Module names are compared with backslashes only.
    std::string name = path;
    for (char& c : name)
        if (c == '/') c = '\\';
    return GetModuleHandleA(name.c_str()) != nullptr;
#else
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (library) dlclose(library);
    return library != nullptr;
#endif
}

ModuleFile::~ModuleFile() {
    if (descriptor_->shutdown) descriptor_->shutdown(serverData_);
    closeLibrary(library_);
}

std::vector<const ServerRecord*> ModuleFile::servers() const {
    std::vector<const ServerRecord*> rows;
    for (const ServerRecord* row = descriptor_->serverDefs; row && row->className; ++row) rows.push_back(row);
    return rows;
}

const ServerRecord* ModuleFile::findServer(const std::string& className, const std::string& name) const {
    for (const ServerRecord* row : servers())
        if (className == row->className && row->name && name == row->name) return row;
    return nullptr;
}

int ModuleFile::activate(const std::string& className, const std::string& name, int version, GlobalFunc* global,
                         void* local) const {
    const ServerRecord* row = findServer(className, name);
    if (!row || !row->activate) return -1;
    return row->activate(version, global, local, serverData_);
}

}  // namespace host
