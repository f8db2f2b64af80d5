// A rig's skelegons taken from an object file ("objectFile" in a rig file):
// every skelegon of every layer, in the order the host scans them.
#pragma once

#include <string>
#include <vector>

#include "host/modeler/mesh_object.h"
#include "tools/sinewrig/rig.h"

namespace sinewrig_tool {

// Reads `path` into `mesh` and lists its skelegons, with the BONE polygons
// they are, in the same order. `chosen` names the skelegons to select. False
// with `error` naming the file and what is wrong.
bool loadObjectSkelegons(const std::string& path, const std::vector<std::string>& chosen, host::MeshObject& mesh,
                         std::vector<RigSkelegon>& skelegons, std::vector<LWPolID>& polygons, std::string& error);

}  // namespace sinewrig_tool
