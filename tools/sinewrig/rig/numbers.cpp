#include "tools/sinewrig/rig/numbers.h"

#include <cfloat>
#include <cmath>

#include "host/text/text_format.h"

namespace sinewrig_tool {

double sceneNumber(const Json& value, const std::string& where) {
    const double n = number(value, where);
    if (std::abs(n) > FLT_MAX)
        throw FieldError{where, "is beyond what the host's scene file can hold (single precision, at most about 3.4e38)"};
    return n;
}

Point3 point(const Json& value, const std::string& where) {
    if (!value.is_array() || value.size() != 3) throw FieldError{where, "must be three numbers [x, y, z]"};
    return {sceneNumber(value[0], where + "[0]"), sceneNumber(value[1], where + "[1]"), sceneNumber(value[2], where + "[2]")};
}

std::string rigNumberText(double value) { return host::numberText(value, 10); }

}  // namespace sinewrig_tool
