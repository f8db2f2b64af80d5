// `sinewrig run SCENE.lws`: a scene an artist saved in Layout, run headless
// through the stand-in host and a loaded module file: its muscles' channels,
// every item's channels, the muscles baked to keys, the scene written back
// with the module's saves, and the round trip through a fresh host.
#pragma once

#include <optional>
#include <string>

#include "tools/sinewrig/console.h"
#include "tools/sinewrig/rig/rig.h"

namespace sinewrig_tool {

struct SceneRunOptions {
    std::string scene;
    std::optional<FrameRange> frames;  // none: the scene's FirstFrame to LastFrame by FrameStep
    std::string csv, svg, channels, bake, writtenScene;
    std::string plugin;
    bool quiet = false;  // no progress display
    bool table = false;  // the per-frame table on the report even for a large scene
};

// Whether the file's first line says it is a scene (LWSC); false when it
// cannot be read, so that the rig reader names what is wrong with it.
bool isSceneFile(const std::string& path);

int runScene(const SceneRunOptions& options, Console console);

}  // namespace sinewrig_tool
