// The sinewrig command line: `run` plays a muscle rig from a file through the
// stand-in host, `check` checks a module file as the host would load it.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace sinewrig_tool {

// Exit status: 0 success, 1 a check that failed, 2 bad input or a file that
// cannot be used (nothing partial is written then).
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitBadInput = 2;

struct Console {
    std::ostream& out;
    std::ostream& err;
    bool terminal = false;  // progress is shown only on a terminal
};

// `arguments` without the program name.
int runCommandLine(const std::vector<std::string>& arguments, Console console);

}  // namespace sinewrig_tool
