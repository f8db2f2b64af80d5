// The report of a scene's run: the scene and the module, the muscle bones
// and their references, their tips against their targets, the round trip
// and the files written. Long lists show their first entries and a count.
#pragma once

#include <cstddef>
#include <ostream>

#include "host/lws/scene_text.h"
#include "tools/sinewrig/road/road.h"
#include "tools/sinewrig/scene/scene_run.h"

namespace sinewrig_tool {

void printSceneHeading(std::ostream& out, const SceneRunOptions& options, const host::lws::SceneText& scene,
                       const FrameRange& frames);
// The muscle bones, each with its reference.
void printSceneMuscles(std::ostream& out, const RoadResult& road);
// The farthest miss, the round trip over `items` items, the files written.
void printSceneOutcome(std::ostream& out, const RoadResult& road, std::size_t items, const SceneRunOptions& options);

}  // namespace sinewrig_tool
