// The entries of a "muscles" list, as a rig file and the choices of
// `sinewrig tag` give them: what the artist sets for a skelegon in
// SetMuscle's panel, then the muscle controls of its bone in Layout.
#pragma once

#include <string>
#include <vector>

#include "tools/sinewrig/common/field_reader.h"
#include "tools/sinewrig/rig/rig.h"

namespace sinewrig_tool {

// Where the entries are used: what is wrong there with a name as a muscle's
// own skelegon or as its reference, and with giving one of the muscle
// controls; "" when nothing is.
class MusclePlace {
public:
    virtual ~MusclePlace() = default;
    virtual std::string faultAsMuscle(const std::string& name) const = 0;
    virtual std::string faultAsReference(const std::string& name) const = 0;
    virtual std::string faultOfControl(const std::string&) const { return ""; }
};

// The fields SetMuscle's panel sets, which become the skelegon's tags; the
// controls, set in the bone's options panel in Layout; and both, in the
// order an entry lists them.
std::vector<std::string> muscleTagFields();
std::vector<std::string> muscleControlFields();
std::vector<std::string> muscleFields();

// Reads `list`, the value of "muscles"; throws a FieldError at the first
// fault. A skelegon has one entry at most; a control out of its range is
// brought into it, as the options panel does, and that goes in `warnings`.
std::vector<RigMuscle> readMuscleEntries(const Json& list, const MusclePlace& place, std::vector<std::string>& warnings);

}  // namespace sinewrig_tool
