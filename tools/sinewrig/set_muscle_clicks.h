// SetMuscle run in the stand-in Modeler with the clicks an artist makes for a
// list of muscle choices: the chosen skelegons of the primary layer are the
// selected ones, so they are the rows of its list.
#pragma once

#include <string>
#include <vector>

#include "host/modeler/modeler.h"
#include "host/process/module_file.h"
#include "tools/sinewrig/rig.h"

namespace sinewrig_tool {

// Selects exactly the skelegons of the primary layer that `muscles` name (by
// PART, or BONE when they have none) and runs SetMuscle. False with `error`
// when it does not run as an artist's clicks would.
bool runSetMuscle(const host::ModuleFile& module, host::Modeler& modeler, const std::vector<RigMuscle>& muscles,
                  std::string& error);

}  // namespace sinewrig_tool
