// A rig's Layout saved as the host saves it: an LWSC 3 scene of the rig's
// frames with its objects loaded from layers of the tagged object file, and
// that object file written beside it.
#pragma once

#include <string>

#include "host/lws/scene_text.h"
#include "host/modeler/mesh_object.h"
#include "tools/sinewrig/rig/rig.h"
#include "tools/sinewrig/road/layout_session.h"
#include "tools/sinewrig/road/road.h"

namespace sinewrig_tool {

// The rig's own frames and rate; the preview range is the same.
host::lws::SceneSettings rigSceneSettings(const Rig& rig);

// The session's Layout into `files.scene`; false with `error` naming the file.
bool saveRigScene(const Rig& rig, const LayoutSession& session, const SceneFiles& files, std::string& error);

// The object with the tags SetMuscle wrote into `path`: a rig's own object
// file rewritten, or a new one for skelegons the rig file gives.
bool writeRigObject(const Rig& rig, const host::MeshObject& tagged, const std::string& path, std::string& error);

// The object file beside a scene: its extension .lws made .lwo, or .lwo added.
std::string objectPathBeside(const std::string& scenePath);
// A path's last part, as a scene names a file beside it.
std::string fileNameOf(const std::string& path);

}  // namespace sinewrig_tool
