// The one name the module file exports (kModuleDescriptorName): the host finds
// everything else through it.
#include "abi/lw_host.h"
#include "abi/module_descriptor.h"
#include "module/servers.h"

#if defined(_WIN32)
#define SINEWRIG_EXPORT __declspec(dllexport)
#else
#define SINEWRIG_EXPORT __attribute__((visibility("default")))
#endif

namespace {

// The host keeps this value as an opaque handle; it only has to be non-null.
void* startup() { return reinterpret_cast<void*>(4); }

void shutdown(void*) {}

}  // namespace

extern "C" {

SINEWRIG_EXPORT ModuleDescriptor _mod_descrip = {
    kModuleSyncWord,
    kModuleSystemVersion,
    kModuleMachineType,
    startup,
    shutdown,
    sinewrig::serverTable,
};

}  // extern "C"
