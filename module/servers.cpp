#include "module/servers.h"

#include "commands/set_muscle.h"
#include "muscle/motion_handler.h"

namespace sinewrig {

ServerRecord serverTable[] = {
    {"CommandSequence", "SetMuscle", SetMuscle, nullptr},
    {"ItemMotionHandler", "Sinewrig", activateMotionHandler, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace sinewrig
