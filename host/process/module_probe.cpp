#include "host/process/module_probe.h"

#include <cstdio>

#include "host/process/shared_library.h"

namespace host {

namespace {

// A field as read, all eight digits: "0x04121994".
std::string hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

// A number the host wants, as its documents write it: "0x300".
std::string shortHex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

#if defined(_WIN32)
constexpr bool kMachineRequired = true;
#else
constexpr bool kMachineRequired = false;
#endif

}  // namespace

std::vector<DescriptorCheck> checkDescriptor(const ModuleDescriptor& d) {
    std::vector<DescriptorCheck> checks;
    checks.push_back({"sync word", hex(d.sysSync), d.sysSync == kModuleSyncWord, true,
                      "bad sync word " + hex(d.sysSync) + ", want " + hex(kModuleSyncWord)});
    checks.push_back({"module system version", std::to_string(d.sysVersion), d.sysVersion == kModuleSystemVersion,
                      true,
                      "module system version " + std::to_string(d.sysVersion) + ", want " +
                          std::to_string(kModuleSystemVersion)});
    checks.push_back({"machine type", hex(d.sysMachine), d.sysMachine == kModuleMachineType, kMachineRequired,
                      "machine type " + hex(d.sysMachine) + ", want " + shortHex(kModuleMachineType)});
    checks.push_back({"startup function", d.startup ? "present" : "null", d.startup != nullptr, true,
                      "has no startup function"});
    return checks;
}

ModuleProbe probeModuleFile(const std::string& path) {
    ModuleProbe probe;
    std::string reason;
    void* library = openLibrary(path, reason);
    if (!library) {
        probe.error = path + ": " + reason;
        return probe;
    }
    if (auto* descriptor = static_cast<const ModuleDescriptor*>(findSymbol(library, kModuleDescriptorName))) {
        probe.hasDescriptor = true;
        probe.checks = checkDescriptor(*descriptor);
    }
    closeLibrary(library);
    return probe;
}

}  // namespace host
