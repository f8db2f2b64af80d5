// Loading a module file as the host does: open the library, read _mod_descrip,
// check its sync word, module system version and (on Windows) machine type,
// call startup; at the end call shutdown and unload.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "abi/lw_host.h"

namespace host {

class ModuleFile {
public:
    // Null with `error` naming the file and the reason when it cannot be used.
    static std::unique_ptr<ModuleFile> load(const std::string& path, std::string& error);
    ~ModuleFile();
    ModuleFile(const ModuleFile&) = delete;
    ModuleFile& operator=(const ModuleFile&) = delete;

    // Whether the process still has the library mapped, e.g. after unloading it.
    static bool isLoaded(const std::string& path);

    const ModuleDescriptor& descriptor() const { return *descriptor_; }
    void* serverData() const { return serverData_; }  // what startup returned

    // Rows of the server table before its all-zero end row.
    std::vector<const ServerRecord*> servers() const;
    const ServerRecord* findServer(const std::string& className, const std::string& name) const;

    // AFUNC_* result of the server's activation, or -1 when there is no such server.
    int activate(const std::string& className, const std::string& name, int version, GlobalFunc* global,
                 void* local) const;

private:
    ModuleFile() = default;
    void* library_ = nullptr;
    const ModuleDescriptor* descriptor_ = nullptr;
    void* serverData_ = nullptr;
};

}  // namespace host
