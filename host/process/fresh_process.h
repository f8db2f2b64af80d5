// Running this program again as a new process, the most faithful "fresh host
// process": nothing of this one (Global Memory, the loaded module) is shared.
#pragma once

#include <string>
#include <vector>

namespace host {

// The path of this program's executable; empty when it cannot be found.
std::string thisProgramPath();

// Starts this program with `arguments` and the environment variable `name` set
// to `value`, waits for it and gives its exit code; -1 when it cannot start.
int runThisProgram(const std::vector<std::string>& arguments, const std::string& name, const std::string& value);

}  // namespace host
