// A read scene made the stand-in Layout's scene, as the host loads it: its
// items under their numbers, and each Sinewrig plug-in block applied to its
// item with the block's lines handed to the instance's load.
#pragma once

#include <string>

#include "host/layout/motion_handlers.h"
#include "host/lws/scene_text.h"

namespace host::lws {

// Into a Layout without items. Every item gets its name, parent, channels,
// pivot and bone rest values; then, in file order, every Sinewrig block has
// the handler applied to its item (activation and create) and its body read
// by load through a text-mode LWLoadState. Other plug-in blocks are not run
// (`scene.notRun`). False, with `error` naming the line, when the Layout has
// items already or the module cannot take a block.
bool loadScene(const SceneText& scene, Layout& layout, MotionHandlers& handlers, std::string& error);

// The lines of a span of the scene's text, without their line ends.
std::vector<std::string_view> linesOf(const SceneText& scene, TextSpan span);

}  // namespace host::lws
