#include "tools/sinewrig/check_module.h"

namespace sinewrig_tool {

int checkModule(const CheckOptions& options, Console console) {
    console.err << options.plugin << ": check is not built yet\n";
    return kExitBadInput;
}

}  // namespace sinewrig_tool
