// `sinewrig inspect`: what an object file holds for a rigger: its layers,
// its skelegons with the muscles their tags make, and what is wrong with them.
#pragma once

#include <string>

#include "tools/sinewrig/console.h"

namespace sinewrig_tool {

struct InspectOptions {
    std::string object;
    bool json = false;
};

// kExitOk when it found no problems, kExitFailed when it reports some,
// kExitBadInput when the file cannot be read as an object.
int inspectObject(const InspectOptions& options, Console console);

}  // namespace sinewrig_tool
