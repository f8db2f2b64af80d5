// The one name the module file exports: the host finds everything else through it.
#include "abi/lw_host.h"
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
    0x04121994,
    3,
    0x300,
    startup,
    shutdown,
    sinewrig::serverTable,
};

}  // extern "C"
