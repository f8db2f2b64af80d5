// An object file for a mesh that was never read from one, such as the
// stand-in Modeler's object made from a rig's skelegons.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "host/modeler/mesh_object.h"

namespace host {

// The mesh's layers, points and polygons with their surfaces, as an LWO2
// file without any other polygon tag.
std::vector<char> bareObjectBytes(const MeshObject& mesh);

// Gives each polygon of `to` the tags of the polygon in the same place of
// `from`, keeping its other tags (layer by layer, in order). False when the two differ in layers or
// polygon counts.
bool copyPolygonTags(const MeshObject& from, MeshObject& to);

// The mesh as an object file, tags and all, through the object file writer.
bool writeNewObjectFile(const MeshObject& mesh, std::ostream& out, std::string& error);

}  // namespace host
