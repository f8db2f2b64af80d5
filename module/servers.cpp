#include "module/servers.h"

#include "abi/host_names.h"
#include "muscle/motion_handler.h"
#include "muscle/options_panel.h"
#include "read_muscle/read_muscle.h"
#include "set_muscle/set_muscle.h"

namespace sinewrig {

ServerRecord serverTable[] = {
    {kCommandSequenceClass, kSetMuscleServer, SetMuscle, nullptr},
    {kLayoutGenericClass, kReadMuscleServer, ReadMuscle, nullptr},
    {kItemMotionHandlerClass, kMuscleServer, activateMotionHandler, nullptr},
    {kItemMotionInterfaceClass, kMuscleServer, activateMuscleOptions, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace sinewrig
