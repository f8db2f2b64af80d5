// The numbers of a rig file: coordinates and angles as the host's scene file
// can hold them, and any number as messages about the file give it.
#pragma once

#include <string>

#include "tools/sinewrig/common/field_reader.h"
#include "tools/sinewrig/rig/rig.h"

namespace sinewrig_tool {

// A finite number within single precision, which the scene file holds.
double sceneNumber(const Json& value, const std::string& where);
// [x, y, z] of scene numbers.
Point3 point(const Json& value, const std::string& where);

// With ten significant digits: as given, without the noise of a double's last digits.
std::string rigNumberText(double value);

}  // namespace sinewrig_tool
