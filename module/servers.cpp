#include "module/servers.h"

#include "commands/set_muscle.h"

namespace sinewrig {

ServerRecord serverTable[] = {
    {"CommandSequence", "SetMuscle", SetMuscle, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace sinewrig
