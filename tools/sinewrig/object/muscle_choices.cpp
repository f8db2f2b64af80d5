#include "tools/sinewrig/object/muscle_choices.h"

#include <map>

#include "host/text/text_format.h"
#include "tools/sinewrig/common/field_reader.h"
#include "tools/sinewrig/common/json_file.h"
#include "tools/sinewrig/common/nearest_name.h"
#include "tools/sinewrig/rig/muscle_entries.h"

namespace sinewrig_tool {

namespace {

// The layer being tagged: a muscle names one skelegon of it, and reaches
// for one its reference chooser offers, which is the first of that name.
// The controls are Layout's, and tagging sets none.
class LayerToTag : public MusclePlace {
public:
    explicit LayerToTag(const ObjectLayer& layer) : inLayer_(" of layer " + std::to_string(layer.number)) {
        for (const ObjectSkelegon& s : layer.skelegons)
            if (!s.name.empty() && ++named_[s.name] == 1) names_.push_back(s.name);
    }

    std::string faultAsMuscle(const std::string& name) const override {
        auto count = named_.find(name);
        if (count == named_.end()) return host::quoted(name) + " is no skelegon" + inLayer_ + didYouMean(name, names_);
        if (count->second > 1)
            return host::quoted(name) + " names " + std::to_string(count->second) + " skelegons" + inLayer_ +
                   ", so it cannot say which to tag";
        return "";
    }
    std::string faultAsReference(const std::string& name) const override {
        if (named_.count(name)) return "";
        return host::quoted(name) + " is no skelegon" + inLayer_ + ", so SetMuscle cannot offer it" +
               didYouMean(name, names_);
    }
    std::string faultOfControl(const std::string&) const override {
        std::string tags;
        for (const std::string& field : muscleTagFields()) tags += (tags.empty() ? "" : ", ") + field;
        return "a muscle control, which is set in Layout; tag writes only what SetMuscle tags (" + tags + ")";
    }

private:
    std::string inLayer_;
    std::map<std::string, int> named_;
    std::vector<std::string> names_;  // each once, in the layer's order, for the nearest name
};

std::vector<RigMuscle> choicesFrom(const Json& root, const ObjectLayer& layer) {
    if (!root.is_object()) throw FieldError{"", "must be an object {\"muscles\": [...]}"};
    onlyKnownFields(root, "", {"muscles"});
    // The controls are refused, so none is brought into its range with a warning.
    std::vector<std::string> warnings;
    return readMuscleEntries(requiredList(root, "", "muscles"), LayerToTag(layer), warnings);
}

}  // namespace

bool loadMuscleChoices(const std::string& path, const ObjectLayer& layer, std::vector<RigMuscle>& muscles,
                       std::string& error) {
    return buildFromJsonFile(
        path, "a choices file", [&](const Json& root) { muscles = choicesFrom(root, layer); }, error);
}

}  // namespace sinewrig_tool
