// The server classes the checker knows: the version the host offers each and
// the local record it activates a server into.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace sinewrig_tool {

struct ServerClass {
    const char* name;
    int hostVersion;
    std::size_t localSize;
    // The local record points to function records the host owns and the
    // module fills (a motion handler's instance and item functions).
    bool hostFunctionRecords;
};

// Nothing for a class the checker does not know.
std::optional<ServerClass> knownServerClass(const std::string& className);

// "AFUNC_OK (0)", "AFUNC_BADVERSION (1)", "AFUNC_BADGLOBAL (2)", "result 7".
std::string activationResult(int result);

}  // namespace sinewrig_tool
