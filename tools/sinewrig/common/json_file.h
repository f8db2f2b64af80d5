// A JSON file the tool is given, read strictly: a key given twice in one
// object is refused, where the JSON library would keep the last and lose the
// first quietly, and a fault names its line and column.
#pragma once

#include <functional>
#include <string>

#include "tools/sinewrig/common/field_reader.h"

namespace sinewrig_tool {

// False with `error` naming the file and what is wrong. `kind` says what the
// file was to be, for a path that names a folder or a device ("a rig file").
bool readJsonFile(const std::string& path, const std::string& kind, Json& root, std::string& error);

// Reads the file as readJsonFile does and hands its root to `build`; a field
// `build` refuses, or a value of the wrong type, becomes `error` naming the file.
bool buildFromJsonFile(const std::string& path, const std::string& kind, const std::function<void(const Json&)>& build,
                       std::string& error);

}  // namespace sinewrig_tool
