// The built Sinewrig.p, loaded once for all benchmarks of a program.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "host/process/module_file.h"

inline const host::ModuleFile& loadedModule() {
    static std::unique_ptr<host::ModuleFile> loaded = [] {
        std::string error;
        auto file = host::ModuleFile::load(SINEWRIG_MODULE_FILE, error);
        if (!file) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::exit(1);
        }
        return file;
    }();
    return *loaded;
}
