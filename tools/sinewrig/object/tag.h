// `sinewrig tag`: the module's own SetMuscle, loaded from its module file, run
// in the stand-in Modeler on an object file's layer with the chosen skelegons
// selected and its panels answered as the choices say; the tags it writes go
// back into the file and nothing else changes.
#pragma once

#include <string>

#include "tools/sinewrig/console.h"

namespace sinewrig_tool {

struct TagOptions {
    std::string object, muscles, output, plugin;
    int layer = 1;  // as the host shows it, from 1
    bool inPlace = false;
    bool verbose = false;  // list every skelegon tagged
};

int tagObject(const TagOptions& options, Console console);

}  // namespace sinewrig_tool
