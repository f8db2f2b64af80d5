#include "tools/sinewrig/run_rig.h"

namespace sinewrig_tool {

int runRig(const RunOptions& options, Console console) {
    console.err << options.rig << ": run is not built yet\n";
    return kExitBadInput;
}

}  // namespace sinewrig_tool
