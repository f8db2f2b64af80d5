// The sinewrig command line: the dispatcher of its subcommands (`run`,
// `check`, `inspect`, `tag`); no subcommand includes it.
#pragma once

#include <string>
#include <vector>

#include "tools/sinewrig/console.h"

namespace sinewrig_tool {

// `arguments` without the program name.
int runCommandLine(const std::vector<std::string>& arguments, Console console);

}  // namespace sinewrig_tool
