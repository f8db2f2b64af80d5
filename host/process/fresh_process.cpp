#include "host/process/fresh_process.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <limits.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace host {

std::string thisProgramPath() {
#if defined(_WIN32)
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length && length < MAX_PATH ? std::string(path, length) : std::string();
#else
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
#endif
}

int runThisProgram(const std::vector<std::string>& arguments, const std::string& name, const std::string& value) {
    std::string self = thisProgramPath();
    if (self.empty()) return -1;
#if defined(_WIN32)
    const char* path = self.c_str();
    std::string command = std::string("\"") + path + "\"";
    for (const std::string& argument : arguments) command += " \"" + argument + "\"";
    SetEnvironmentVariableA(name.c_str(), value.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessA(path, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableA(name.c_str(), nullptr);
    if (!started) return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
#else
    char* path = self.data();
    std::vector<char*> argv = {path};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    setenv(name.c_str(), value.c_str(), 1);
    pid_t child = 0;
    const int failed = posix_spawn(&child, path, nullptr, nullptr, argv.data(), environ);
    unsetenv(name.c_str());
    if (failed) return -1;
    int status = 0;
    if (waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

}  // namespace host
