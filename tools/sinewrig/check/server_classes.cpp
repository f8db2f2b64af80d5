#include "tools/sinewrig/check/server_classes.h"

#include "abi/lw_host.h"

namespace sinewrig_tool {

namespace {

const ServerClass kClasses[] = {
    {"CommandSequence", 3, sizeof(LWModCommand), false},
    {"LayoutGeneric", 2, sizeof(LWLayoutGeneric), false},
    {"ItemMotionHandler", 4, sizeof(LWItemMotionHandler), true},
    {"ItemMotionInterface", 4, sizeof(LWInterface), false},
};

}  // namespace

std::optional<ServerClass> knownServerClass(const std::string& className) {
    for (const ServerClass& known : kClasses)
        if (className == known.name) return known;
    return std::nullopt;
}

std::string activationResult(int result) {
    switch (result) {
    case AFUNC_OK: return "AFUNC_OK (0)";
    case AFUNC_BADVERSION: return "AFUNC_BADVERSION (1)";
    case AFUNC_BADGLOBAL: return "AFUNC_BADGLOBAL (2)";
    default: return "result " + std::to_string(result);
    }
}

}  // namespace sinewrig_tool
