#include <cstdio>
#include <iostream>

#include "tools/sinewrig/cli.h"
#include "tools/sinewrig/common/interruption.h"

#if defined(_WIN32)
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
    sinewrig_tool::removeSpoolsWhenInterrupted();
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return sinewrig_tool::runCommandLine(arguments, {std::cout, std::cerr, isatty(fileno(stderr)) != 0});
}
