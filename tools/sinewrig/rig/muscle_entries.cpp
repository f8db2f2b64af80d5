#include "tools/sinewrig/rig/muscle_entries.h"

#include <algorithm>
#include <map>

#include "format/control_values.h"
#include "host/text/text_format.h"
#include "tools/sinewrig/rig/numbers.h"

namespace sinewrig_tool {

namespace {

// The names of the popups' choices, in the order the panel offers them,
// which is the order of their values: kVolumeAxesXY, X, Y; kAimHeadingPitch, kAimShortestTurn.
const std::vector<std::string> kVolumeAxes = {"xy", "x", "y"};
const std::vector<std::string> kAims = {"headingPitch", "shortestTurn"};
static_assert(sinewrig::kVolumeAxesXY == 0 && sinewrig::kVolumeAxesX == 1 && sinewrig::kVolumeAxesY == 2);
static_assert(sinewrig::kAimHeadingPitch == 0 && sinewrig::kAimShortestTurn == 1);

// A control out of its range is brought into it, as the options panel does, and said.
void control(const Json& entry, const std::string& where, const char* name, const sinewrig::ControlRange& range,
             double& value, std::vector<std::string>& warnings) {
    const Json* given = optionalField(entry, name);
    if (!given) return;
    value = number(*given, at(where, name));
    const double within = std::clamp(value, range.least, range.most);
    if (within != value)
        warnings.push_back(at(where, name) + ": " + rigNumberText(value) + " is brought into its range, to " +
                           rigNumberText(within));
    value = within;
}

// What an entry sets for its skelegon `m.skelegon`.
void readSettings(const Json& entry, const std::string& where, const MusclePlace& place, RigMuscle& m,
                  std::vector<std::string>& warnings) {
    if (const Json* reference = optionalField(entry, "reference")) {
        m.reference = text(*reference, at(where, "reference"));
        if (*m.reference == m.skelegon)
            throw FieldError{at(where, "reference"),
                             host::quoted(m.skelegon) + " is the muscle itself; a muscle reaches for another skelegon"};
        if (const std::string fault = place.faultAsReference(*m.reference); !fault.empty())
            throw FieldError{at(where, "reference"), fault};
    }
    m.preserveVolume = flag(entry, where, "preserveVolume", false);
    m.afterIK = flag(entry, where, "afterIK", true);
    choice(entry, where, "volumeAxes", kVolumeAxes, m.volumeAxes);
    choice(entry, where, "aim", kAims, m.aim);
    control(entry, where, "bulge", sinewrig::kBulgeRange, m.bulge, warnings);
    control(entry, where, "stretchMin", sinewrig::kStretchRange, m.stretchMin, warnings);
    control(entry, where, "stretchMax", sinewrig::kStretchRange, m.stretchMax, warnings);
    control(entry, where, "influence", sinewrig::kInfluenceRange, m.influence, warnings);
}

}  // namespace

std::vector<std::string> muscleTagFields() { return {"skelegon", "reference", "preserveVolume", "afterIK"}; }

std::vector<std::string> muscleControlFields() {
    return {"volumeAxes", "bulge", "stretchMin", "stretchMax", "influence", "aim"};
}

std::vector<std::string> muscleFields() {
    std::vector<std::string> fields = muscleTagFields();
    for (std::string& control : muscleControlFields()) fields.push_back(std::move(control));
    return fields;
}

std::vector<RigMuscle> readMuscleEntries(const Json& list, const MusclePlace& place, std::vector<std::string>& warnings) {
    const std::vector<std::string> fields = muscleFields();
    const std::vector<std::string> controls = muscleControlFields();
    std::vector<RigMuscle> muscles;
    std::map<std::string, std::size_t> entryOf;  // by skelegon, to refuse a second entry
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string where = entryAt("muscles", i);
        const Json& entry = list[i];
        expectObject(entry, where);
        onlyKnownFields(entry, where, fields);
        for (const std::string& control : controls)
            if (optionalField(entry, control.c_str()))
                if (const std::string fault = place.faultOfControl(control); !fault.empty())
                    throw FieldError{at(where, control), fault};
        RigMuscle m;
        m.skelegon = text(field(entry, where, "skelegon"), at(where, "skelegon"));
        if (const std::string fault = place.faultAsMuscle(m.skelegon); !fault.empty())
            throw FieldError{at(where, "skelegon"), fault};
        if (auto [earlier, added] = entryOf.emplace(m.skelegon, i); !added)
            throw FieldError{at(where, "skelegon"), host::quoted(m.skelegon) + " has two muscle entries (the first is " +
                                                        entryAt("muscles", earlier->second) + ")"};
        readSettings(entry, where, place, m, warnings);
        muscles.push_back(std::move(m));
    }
    return muscles;
}

}  // namespace sinewrig_tool
