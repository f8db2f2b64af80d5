// What the host reads of a module file before it calls anything in it: the
// library, its _mod_descrip, and the descriptor's fields, each check on its
// own so that a wrong field does not hide the ones after it.
#pragma once

#include <string>
#include <vector>

#include "abi/lw_host.h"
#include "abi/module_descriptor.h"

namespace host {

struct DescriptorCheck {
    std::string what;   // "sync word", "module system version", "machine type", "startup function"
    std::string found;  // the field as read, e.g. "0x04121994"
    bool passed = false;
    bool required = true;  // false: the host reads it but does not refuse on it (machine type off Windows)
    std::string reason;    // the host's words when it refuses the file for it
};

// The host's checks of a descriptor, in the order it makes them.
std::vector<DescriptorCheck> checkDescriptor(const ModuleDescriptor& descriptor);

struct ModuleProbe {
    std::string error;  // the file cannot be opened as a library: names the file and the reason
    bool hasDescriptor = false;
    std::vector<DescriptorCheck> checks;  // empty without a descriptor
};

// Opens the library, reads its descriptor and closes it; calls nothing in it.
ModuleProbe probeModuleFile(const std::string& path);

}  // namespace host
