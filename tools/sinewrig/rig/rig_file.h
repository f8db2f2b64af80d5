// Reading a rig file (docs/rig-format.md) strictly: every field known, every
// name it uses one it defines, every value in range; and the frame ranges a
// rig is played over.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/sinewrig/rig/rig.h"

namespace sinewrig_tool {

// False, with `error` naming the file and what is wrong (for JSON the line
// and column), when the file cannot be read or does not describe a rig.
// `warnings` gets what is allowed but most likely a mistake.
bool loadRig(const std::string& path, Rig& rig, std::vector<std::string>& warnings, std::string& error);

// The fields a rig file may have, by where they are: "" for the top level,
// "frames", and "skelegons", "muscles" and "keys" for an entry of each list.
std::vector<std::pair<std::string, std::vector<std::string>>> rigFields();

// "START:END[:STEP]"; false with `error` giving the text and what is wrong.
bool parseFrameRange(const std::string& text, FrameRange& range, std::string& error);

}  // namespace sinewrig_tool
