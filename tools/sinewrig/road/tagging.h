// A rig's skelegons tagged with SetMuscle in the stand-in Modeler, with the
// clicks an artist makes for the rig's muscle choices; or, for a rig that
// takes an object file's skelegons and chooses nothing, the object's own tags.
#pragma once

#include <string>

#include "host/modeler/modeler.h"
#include "host/process/module_file.h"
#include "tools/sinewrig/rig/rig.h"
#include "tools/sinewrig/road/road.h"

namespace sinewrig_tool {

// Fills the panel table and the tags written (or says the object's own were
// kept) in `result`. False with `error` when SetMuscle did not run as the
// artist's clicks would.
bool tagSkelegons(const Rig& rig, const host::ModuleFile& module, host::Modeler& modeler, RoadResult& result,
                  std::string& error);

}  // namespace sinewrig_tool
