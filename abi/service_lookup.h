// Looking up a host service by name, as every server does.
#pragma once

#include "abi/lw_host.h"

namespace sinewrig {

// Null when the service is missing, and when there is no global-lookup function.
template <class Service>
Service* lookupService(GlobalFunc* global, const char* name) {
    return global ? static_cast<Service*>(global(name, GFUSE_TRANSIENT)) : nullptr;
}

}  // namespace sinewrig
