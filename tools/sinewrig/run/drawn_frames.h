// The frames the picture draws, as `--svg-frames` names them: single frames
// and START:END[:STEP] ranges, separated by commas ("0,10,20", "0:48:12").
#pragma once

#include <string>
#include <vector>

#include "tools/sinewrig/rig/rig.h"

namespace sinewrig_tool {

// The picture has room for this many frames side by side.
constexpr std::size_t kMostDrawnFrames = 12;

// The frames, ascending, each once; false with `error` giving the text and
// what is wrong.
bool parseDrawnFrames(const std::string& text, std::vector<int>& frames, std::string& error);

// Empty when the run evaluates every one of `frames`; otherwise names the
// first that it does not.
std::string framesNotEvaluated(const std::vector<int>& frames, const FrameRange& run);

}  // namespace sinewrig_tool
