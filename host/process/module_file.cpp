#include "host/process/module_file.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "host/process/module_probe.h"
#include "host/process/shared_library.h"

namespace host {

std::unique_ptr<ModuleFile> ModuleFile::load(const std::string& path, std::string& error) {
    std::string reason;
    void* library = openLibrary(path, reason);
    if (!library) {
        error = path + ": " + reason;
        return nullptr;
    }
    auto* descriptor = static_cast<const ModuleDescriptor*>(findSymbol(library, kModuleDescriptorName));
    if (!descriptor) {
        reason = std::string("exports no ") + kModuleDescriptorName;
    } else {
        for (const DescriptorCheck& check : checkDescriptor(*descriptor))
            if (!check.passed && check.required) {
                reason = check.reason;
                break;
            }
    }
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
