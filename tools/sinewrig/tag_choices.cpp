#include "tools/sinewrig/tag_choices.h"

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

namespace sinewrig_tool {

namespace {

using nlohmann::json;

struct ChoiceError {
    std::string where, what;
};

void onlyFields(const json& object, const std::string& where, std::initializer_list<const char*> known) {
    for (const auto& [key, value] : object.items()) {
        bool found = false;
        for (const char* name : known) found = found || key == name;
        if (!found) throw ChoiceError{where, "unknown field \"" + key + "\""};
    }
}

std::string text(const json& value, const std::string& where) {
    if (!value.is_string()) throw ChoiceError{where, "must be a text"};
    return value.get<std::string>();
}

bool flag(const json& entry, const std::string& where, const char* name, bool fallback) {
    auto found = entry.find(name);
    if (found == entry.end() || found->is_null()) return fallback;
    if (!found->is_boolean()) throw ChoiceError{where + "." + name, "must be true or false"};
    return found->get<bool>();
}

std::vector<RigMuscle> choicesFrom(const json& root, const ObjectLayer& layer) {
    if (!root.is_object()) throw ChoiceError{"", "must be an object {\"muscles\": [...]}"};
    onlyFields(root, "", {"muscles"});
    auto list = root.find("muscles");
    if (list == root.end()) throw ChoiceError{"", "missing field \"muscles\""};
    if (!list->is_array()) throw ChoiceError{"muscles", "must be a list"};
    std::map<std::string, int> named;
    for (const ObjectSkelegon& s : layer.skelegons)
        if (!s.name.empty()) ++named[s.name];
    const std::string inLayer = " of layer " + std::to_string(layer.number);
    std::vector<RigMuscle> muscles;
    for (std::size_t i = 0; i < list->size(); ++i) {
        const std::string where = "muscles[" + std::to_string(i) + "]";
        const json& entry = (*list)[i];
        if (!entry.is_object()) throw ChoiceError{where, "must be an object"};
        onlyFields(entry, where, {"skelegon", "reference", "preserveVolume", "afterIK"});
        auto skelegon = entry.find("skelegon");
        if (skelegon == entry.end()) throw ChoiceError{where, "missing field \"skelegon\""};
        RigMuscle m;
        m.skelegon = text(*skelegon, where + ".skelegon");
        auto count = named.find(m.skelegon);
        if (count == named.end()) throw ChoiceError{where + ".skelegon", "\"" + m.skelegon + "\" is no skelegon" + inLayer};
        if (count->second > 1)
            throw ChoiceError{where + ".skelegon", "\"" + m.skelegon + "\" names " + std::to_string(count->second) +
                                                       " skelegons" + inLayer + ", so it cannot say which to tag"};
        for (const RigMuscle& other : muscles)
            if (other.skelegon == m.skelegon) throw ChoiceError{where + ".skelegon", "\"" + m.skelegon + "\" has two muscle entries"};
        auto reference = entry.find("reference");
        if (reference != entry.end() && !reference->is_null()) {
            m.reference = text(*reference, where + ".reference");
            if (*m.reference == m.skelegon) throw ChoiceError{where + ".reference", "a muscle cannot aim at itself"};
            if (!named.count(*m.reference))
                throw ChoiceError{where + ".reference", "\"" + *m.reference + "\" is no skelegon" + inLayer +
                                                            ", so SetMuscle cannot offer it"};
        }
        m.preserveVolume = flag(entry, where, "preserveVolume", false);
        m.afterIK = flag(entry, where, "afterIK", true);
        muscles.push_back(m);
    }
    return muscles;
}

}  // namespace

bool loadMuscleChoices(const std::string& path, const ObjectLayer& layer, std::vector<RigMuscle>& muscles,
                       std::string& error) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    if (!file || !(content << file.rdbuf())) {
        error = path + ": cannot be read";
        return false;
    }
    try {
        muscles = choicesFrom(json::parse(content.str()), layer);
    } catch (const json::parse_error& e) {
        const std::string message = e.what();
        const std::size_t from = message.find("parse error");
        error = path + ": not valid JSON: " + (from == std::string::npos ? message : message.substr(from));
        return false;
    } catch (const ChoiceError& e) {
        error = path + ": " + (e.where.empty() ? "" : e.where + ": ") + e.what;
        return false;
    } catch (const json::exception& e) {
        error = path + ": " + e.what();
        return false;
    }
    return true;
}

}  // namespace sinewrig_tool
