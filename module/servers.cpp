#include "module/servers.h"

#include "commands/read_muscle.h"
#include "commands/set_muscle.h"
#include "abi/host_names.h"
#include "muscle/motion_handler.h"
#include "panels/options_panel.h"

namespace sinewrig {

ServerRecord serverTable[] = {
    {kCommandSequenceClass, kSetMuscleServer, SetMuscle, nullptr},
    {kLayoutGenericClass, kReadMuscleServer, ReadMuscle, nullptr},
    {kItemMotionHandlerClass, kMuscleServer, activateMotionHandler, nullptr},
    {kItemMotionInterfaceClass, kMuscleServer, activateMuscleOptions, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace sinewrig
