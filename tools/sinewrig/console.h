// What every subcommand reports through, and the exit statuses they give.
#pragma once

#include <ostream>

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

}  // namespace sinewrig_tool
