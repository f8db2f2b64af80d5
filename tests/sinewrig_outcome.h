// `sinewrig` run in this process, with what it printed.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/sinewrig/cli.h"

struct SinewrigOutcome {
    int status = -1;
    std::string out, err;
};

inline SinewrigOutcome runSinewrig(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    SinewrigOutcome run;
    run.status = sinewrig_tool::runCommandLine(arguments, {out, err, false});
    run.out = out.str();
    run.err = err.str();
    return run;
}

inline std::string fileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline void writeFileText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}
