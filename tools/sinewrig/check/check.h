// `sinewrig check`: loads any module file the way the host does and reports,
// like a plug-in validator, what the host would find in it.
#pragma once

#include <string>

#include "tools/sinewrig/console.h"

namespace sinewrig_tool {

struct CheckOptions {
    std::string plugin;
};

// kExitOk only when nothing failed.
int checkModule(const CheckOptions& options, Console console);

}  // namespace sinewrig_tool
