// The stand-in Layout's scene files, in text: the items with their parents,
// channels and rest lengths, then for each handler instance the typed values it
// wrote, in write order.
#pragma once

#include <string>

#include "host/layout/motion_handlers.h"

namespace host {

bool saveSceneFile(const std::string& path, const Layout& layout, const MotionHandlers& handlers,
                   std::string& error);

// Into a fresh Layout (no items yet): recreates the items under their saved IDs,
// then applies the handler to each instance's item and calls load with its values.
bool loadSceneFile(const std::string& path, Layout& layout, MotionHandlers& handlers, std::string& error);

}  // namespace host
