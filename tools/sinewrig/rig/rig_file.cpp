#include "tools/sinewrig/rig/rig_file.h"

#include <cctype>
#include <filesystem>
#include <map>

#include "host/text/cp932.h"
#include "host/text/text_format.h"
#include "tools/sinewrig/common/field_reader.h"
#include "tools/sinewrig/common/json_file.h"
#include "tools/sinewrig/common/nearest_name.h"
#include "tools/sinewrig/rig/key_entries.h"
#include "tools/sinewrig/rig/muscle_entries.h"
#include "tools/sinewrig/rig/numbers.h"
#include "tools/sinewrig/rig/object_skelegons.h"
#include "tools/sinewrig/rig/skelegon_parents.h"
#include "tools/sinewrig/rig/skelegon_warnings.h"

namespace sinewrig_tool {

namespace {

const std::vector<std::string> kRigFields = {"$schema", "object", "primaryLayer", "fps", "frames", "skelegons", "objectFile", "muscles", "keys"};
const std::vector<std::string> kFrameFields = {"start", "end", "step"};
const std::vector<std::string> kSkelegonFields = {"name", "pivot", "tip", "selected", "layer", "parent"};

void checkRange(const FrameRange& range, const std::string& where) {
    if (range.step <= 0) throw FieldError{where, "the step must be at least 1"};
    if (range.end < range.start) throw FieldError{where, "the end frame is before the start frame"};
    if ((static_cast<long long>(range.end) - range.start) / range.step + 1 > 10000000)
        throw FieldError{where, "more than 10,000,000 frames"};
}

// A name the host will hold: it keeps its texts in code page 932.
void expectHostText(const std::string& name, const std::string& where) {
    std::string hostName;
    if (!host::cp932FromUtf8(name, hostName))
        throw FieldError{where, host::quoted(name) + " has a character the host's code page 932 cannot hold"};
}

// The rig's skelegons by name, as its muscles and keys name them. A muscle
// is a row of SetMuscle's list, so a selected skelegon of the primary layer,
// and reaches for one its reference chooser offers, of the primary layer.
class SkelegonNames : public MusclePlace {
public:
    explicit SkelegonNames(const Rig& rig) : primaryLayer_(rig.primaryLayer) {}

    // False when another skelegon has the name.
    bool add(const RigSkelegon& s) {
        if (!byName_.emplace(s.name, &s).second) return false;
        names_.push_back(s.name);
        return true;
    }
    // "" for one of the skelegons, else what is wrong, with the name most likely meant.
    std::string faultAsBone(const std::string& name) const {
        return find(name) ? "" : "unknown skelegon " + host::quoted(name) + didYouMean(name, names_);
    }

    std::string faultAsMuscle(const std::string& name) const override {
        const RigSkelegon* s = find(name);
        if (!s) return faultAsBone(name);
        if (!s->selected || s->layer != primaryLayer_)
            return host::quoted(name) + " is not a selected skelegon of the primary layer, so SetMuscle shows no row for it";
        return "";
    }
    std::string faultAsReference(const std::string& name) const override {
        const RigSkelegon* s = find(name);
        if (!s) return faultAsBone(name);
        if (s->layer != primaryLayer_) return host::quoted(name) + " is not on the primary layer, so SetMuscle cannot offer it";
        return "";
    }

private:
    const RigSkelegon* find(const std::string& name) const {
        auto found = byName_.find(name);
        return found == byName_.end() ? nullptr : found->second;
    }
    int primaryLayer_;
    std::map<std::string, const RigSkelegon*> byName_;
    std::vector<std::string> names_;  // in the rig's order, for the nearest name
};

FrameRange framesFrom(const Json& root) {
    const Json& frames = field(root, "", "frames");
    expectObject(frames, "frames");
    onlyKnownFields(frames, "frames", kFrameFields);
    FrameRange range;
    range.start = integer(field(frames, "frames", "start"), "frames.start");
    range.end = integer(field(frames, "frames", "end"), "frames.end");
    if (const Json* step = optionalField(frames, "step")) range.step = integer(*step, "frames.step");
    checkRange(range, "frames");
    return range;
}

// "objectFile": the skelegons of every layer of an object file, the ones the
// muscles name selected. False when the rig has no such field.
bool skelegonsFromObject(const Json& root, const std::filesystem::path& folder, Rig& rig, SkelegonNames& names) {
    const Json* objectFile = optionalField(root, "objectFile");
    if (!objectFile) return false;
    if (optionalField(root, "skelegons"))
        throw FieldError{"objectFile", "a rig takes its skelegons from \"skelegons\" or from \"objectFile\", not both"};
    const std::filesystem::path object = std::filesystem::u8path(text(*objectFile, "objectFile"));
    rig.objectFile = (object.is_absolute() ? object : folder / object).string();
    if (!optionalField(root, "object")) rig.object = object.stem().string();
    std::vector<std::string> chosen;
    for (const Json& entry : optionalList(root, "", "muscles"))
        if (entry.is_object() && entry.contains("skelegon") && entry["skelegon"].is_string())
            chosen.push_back(entry["skelegon"].get<std::string>());
    host::MeshObject mesh;
    std::vector<LWPolID> polygons;
    std::string error;
    if (!loadObjectSkelegons(rig.objectFile, chosen, mesh, rig.skelegons, polygons, error))
        throw FieldError{"objectFile", error};
    for (const RigSkelegon& s : rig.skelegons)
        if (!s.name.empty() && !names.add(s))
            throw FieldError{"objectFile", rig.objectFile + ": two skelegons are named " + host::quoted(s.name)};
    return true;
}

// "skelegons": the rig's own, in the order Layout scans them.
void skelegonsFrom(const Json& list, Rig& rig, SkelegonNames& names) {
    rig.skelegons.reserve(list.size());  // the names point into the list
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string where = entryAt("skelegons", i);
        const Json& entry = list[i];
        expectObject(entry, where);
        onlyKnownFields(entry, where, kSkelegonFields);
        RigSkelegon s;
        s.name = text(field(entry, where, "name"), at(where, "name"));
        if (s.name.empty()) throw FieldError{at(where, "name"), "must not be empty"};
        expectHostText(s.name, at(where, "name"));
        s.pivot = point(field(entry, where, "pivot"), at(where, "pivot"));
        s.tip = point(field(entry, where, "tip"), at(where, "tip"));
        s.selected = flag(entry, where, "selected", false);
        if (const Json* layer = optionalField(entry, "layer")) s.layer = integer(*layer, at(where, "layer"));
        if (s.layer < 1 || s.layer > 1000) throw FieldError{at(where, "layer"), "must be from 1 to 1000"};
        if (const Json* parent = optionalField(entry, "parent")) s.parent = text(*parent, at(where, "parent"));
        rig.skelegons.push_back(s);
        if (!names.add(rig.skelegons.back()))
            throw FieldError{at(where, "name"), host::quoted(s.name) + " names two skelegons"};
    }
}

Rig rigFrom(const Json& root, const std::filesystem::path& folder, std::vector<std::string>& warnings) {
    expectObject(root, "the rig");
    onlyKnownFields(root, "", kRigFields);
    Rig rig;
    if (const Json* object = optionalField(root, "object")) rig.object = text(*object, "object");
    expectHostText(rig.object, "object");
    if (const Json* layer = optionalField(root, "primaryLayer")) rig.primaryLayer = integer(*layer, "primaryLayer");
    if (rig.primaryLayer < 1 || rig.primaryLayer > 1000) throw FieldError{"primaryLayer", "must be from 1 to 1000"};
    if (const Json* fps = optionalField(root, "fps")) rig.fps = number(*fps, "fps");
    if (rig.fps <= 0 || rig.fps > 100000) throw FieldError{"fps", "must be more than 0 and at most 100000"};
    rig.frames = framesFrom(root);

    SkelegonNames names(rig);
    if (!skelegonsFromObject(root, folder, rig, names)) {
        const Json& skelegons = requiredList(root, "", "skelegons");
        if (skelegons.empty()) throw FieldError{"skelegons", "the rig has no skelegons"};
        skelegonsFrom(skelegons, rig, names);
        checkChosenParents(rig);
    }
    rig.muscles = readMuscleEntries(optionalList(root, "", "muscles"), names, warnings);
    rig.keys = readKeyEntries(optionalList(root, "", "keys"), [&](const std::string& name) { return names.faultAsBone(name); });
    warnAboutSkelegons(rig, warnings);
    return rig;
}

}  // namespace

std::vector<std::pair<std::string, std::vector<std::string>>> rigFields() {
    return {{"", kRigFields},
            {"frames", kFrameFields},
            {"skelegons", kSkelegonFields},
            {"muscles", muscleFields()},
            {"keys", keyFields()}};
}

bool loadRig(const std::string& path, Rig& rig, std::vector<std::string>& warnings, std::string& error) {
    const auto build = [&](const Json& root) {
        rig = rigFrom(root, std::filesystem::u8path(path).parent_path(), warnings);
    };
    if (!buildFromJsonFile(path, "a rig file", build, error)) return false;
    for (std::string& warning : warnings) warning = path + ": " + warning;
    return true;
}

bool parseFrameRange(const std::string& text, FrameRange& range, std::string& error) {
    std::vector<int> parts;
    std::size_t from = 0;
    while (true) {
        const std::size_t colon = text.find(':', from);
        const std::string part = text.substr(from, colon == std::string::npos ? std::string::npos : colon - from);
        std::size_t used = 0;
        long long value = 0;
        bool beyond = false;
        try {
            value = std::stoll(part, &used);
        } catch (const std::out_of_range&) {
            beyond = true;
            used = part.size();
        } catch (...) {
            used = 0;
        }
        if (part.empty() || used != part.size() || std::isspace(static_cast<unsigned char>(part[0]))) {
            error = text + ": \"" + part + "\" is not a whole frame number (want START:END[:STEP])";
            return false;
        }
        if (beyond || value < -1000000000 || value > 1000000000) {
            error = text + ": " + part + " is beyond the frames the tool plays (-1000000000 to 1000000000)";
            return false;
        }
        parts.push_back(static_cast<int>(value));
        if (colon == std::string::npos) break;
        from = colon + 1;
    }
    if (parts.size() < 2 || parts.size() > 3) {
        error = text + ": want START:END or START:END:STEP";
        return false;
    }
    FrameRange parsed{parts[0], parts[1], parts.size() == 3 ? parts[2] : 1};
    try {
        checkRange(parsed, "");
    } catch (const FieldError& e) {
        error = text + ": " + e.what;
        return false;
    }
    range = parsed;
    return true;
}

}  // namespace sinewrig_tool
