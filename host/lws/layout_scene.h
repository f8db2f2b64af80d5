// A Layout's items written as the host saves a scene (LWSC 3): the scene's
// settings, each object with its bones after it, then the lights and the
// cameras, every item with its nine channels and its handlers' plug-in blocks
// in text mode. Read back with readScene and loadScene, every item gets its
// number, parent, channels and rest values again, bit for bit. A Layout with
// numbers a reader would not count the same (more than 4,096 bones in one
// object) is written as LWSC 4, every item's number baked.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "host/layout/motion_handlers.h"
#include "host/lws/scene_text.h"

namespace host::lws {

// An object loaded from a layer of an object file (`LoadObjectLayer layer file`).
// Objects not listed are written as nulls.
struct ObjectLayer {
    LWItemID object = nullptr;
    int layer = 1;     // from 1
    std::string file;  // as the scene names it
};

// False, with `error` and nothing written, for a bone without an object or a
// value that is not finite.
bool writeLayoutScene(const Layout& layout, const MotionHandlers& handlers, const SceneSettings& settings,
                      const std::vector<ObjectLayer>& objects, std::ostream& out, std::string& error);

}  // namespace host::lws
