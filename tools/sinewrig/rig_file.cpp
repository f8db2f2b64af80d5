#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "host/text/cp932.h"
#include "tools/sinewrig/output_file.h"
#include "tools/sinewrig/rig.h"
#include "tools/sinewrig/rig_object_file.h"

namespace sinewrig_tool {

namespace {

using nlohmann::json;

// Thrown while reading a rig, with the place in the file it concerns.
struct RigError {
    std::string where, what;
};

std::string at(const std::string& where, const std::string& field) { return where.empty() ? field : where + "." + field; }

// Builds the document as the JSON library's own parser does, but refuses a
// key given twice in one object, and keeps where a fault was found.
class RigDocument {
public:
    json root;
    std::string error;
    std::size_t errorAt = 0;  // bytes read when the library gave up
    bool libraryError = false;

    bool null() { return put(json(nullptr)); }
    bool boolean(bool value) { return put(json(value)); }
    bool number_integer(json::number_integer_t value) { return put(json(value)); }
    bool number_unsigned(json::number_unsigned_t value) { return put(json(value)); }
    bool number_float(json::number_float_t value, const std::string&) { return put(json(value)); }
    bool string(std::string& value) { return put(json(std::move(value))); }
    bool binary(json::binary_t& value) { return put(json(std::move(value))); }
    bool start_object(std::size_t) { return open(json::object()); }
    bool start_array(std::size_t) { return open(json::array()); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }
    bool key(std::string& name) {
        Container& top = open_.back();
        if (!top.keys.insert(name).second) {
            error = at(top.path, name) + ": the key \"" + name + "\" is given twice in one object";
            return false;
        }
        top.key = name;
        return true;
    }
    bool parse_error(std::size_t position, const std::string&, const json::exception& e) {
        error = e.what();
        errorAt = position;
        libraryError = true;
        return false;
    }

private:
    struct Container {
        json* value;
        std::string path;
        std::size_t next = 0;  // an array's next index
        std::string key;       // an object's latest key
        std::set<std::string> keys;
    };
    std::vector<Container> open_;

    std::string childPath() {
        if (open_.empty()) return "";
        Container& top = open_.back();
        return top.value->is_array() ? top.path + "[" + std::to_string(top.next) + "]" : at(top.path, top.key);
    }
    json* place(json value) {
        if (open_.empty()) {
            root = std::move(value);
            return &root;
        }
        Container& top = open_.back();
        if (top.value->is_array()) {
            ++top.next;
            top.value->push_back(std::move(value));
            return &top.value->back();
        }
        json& slot = (*top.value)[top.key];
        slot = std::move(value);
        return &slot;
    }
    bool put(json value) {
        place(std::move(value));
        return true;
    }
    bool open(json value) {
        std::string path = childPath();
        json* placed = place(std::move(value));
        open_.push_back(Container{placed, std::move(path), 0, {}, {}});
        return true;
    }
    bool close() {
        open_.pop_back();
        return true;
    }
};

// "line 3, column 5" of the byte `offset` of `text`.
std::string lineAndColumn(const std::string& text, std::size_t offset) {
    offset = std::min(offset, text.size());
    const std::size_t line = 1 + std::count(text.begin(), text.begin() + offset, '\n');
    const std::size_t lineStart = text.rfind('\n', offset == 0 ? 0 : offset - 1);
    const std::size_t column = offset - (lineStart == std::string::npos || offset == 0 ? 0 : lineStart + 1);
    return "line " + std::to_string(line) + ", column " + std::to_string(std::max<std::size_t>(column, 1));
}

std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) == std::tolower(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// Every field of an object must be one the rig format knows: a misspelt one
// would otherwise quietly lose the artist's setting.
const std::vector<const char*> kRigFields = {"$schema", "object", "primaryLayer", "fps", "frames", "skelegons", "objectFile", "muscles", "keys"};
const std::vector<const char*> kFrameFields = {"start", "end", "step"};
const std::vector<const char*> kSkelegonFields = {"name", "pivot", "tip", "selected", "layer"};
// The names of the popups' choices in a rig file, in the order the panel offers them.
const std::vector<const char*> kVolumeAxes = {"xy", "x", "y"};
const std::vector<const char*> kAims = {"headingPitch", "shortestTurn"};
const std::vector<const char*> kMuscleFields = {"skelegon", "reference", "preserveVolume", "afterIK", "volumeAxes",
                                                "bulge", "stretchMin", "stretchMax", "influence", "aim"};
const std::vector<const char*> kKeyFields = {"bone", "frame", "position", "rotation"};

void onlyKnownFields(const json& object, const std::string& where, const std::vector<const char*>& known) {
    for (const auto& [name, value] : object.items()) {
        if (std::any_of(known.begin(), known.end(), [&](const char* field) { return name == field; })) continue;
        const char* nearest = *known.begin();
        for (const char* field : known)
            if (editDistance(name, field) < editDistance(name, nearest)) nearest = field;
        throw RigError{at(where, name), "unknown field; the nearest known field is \"" + std::string(nearest) + "\""};
    }
}

const json& field(const json& object, const std::string& where, const char* name) {
    auto found = object.find(name);
    if (found == object.end()) throw RigError{where, std::string("missing field \"") + name + "\""};
    return *found;
}

const json* optionalField(const json& object, const char* name) {
    auto found = object.find(name);
    return found == object.end() || found->is_null() ? nullptr : &*found;
}

void expectObject(const json& value, const std::string& where) {
    if (!value.is_object()) throw RigError{where, "must be an object"};
}

std::string text(const json& value, const std::string& where) {
    if (!value.is_string()) throw RigError{where, "must be a text"};
    return value.get<std::string>();
}

double number(const json& value, const std::string& where) {
    if (!value.is_number()) throw RigError{where, "must be a number"};
    const double n = value.get<double>();
    if (!std::isfinite(n)) throw RigError{where, "must be a finite number"};
    return n;
}

// Coordinates and angles go into the host's scene file, which holds single precision.
double sceneNumber(const json& value, const std::string& where) {
    const double n = number(value, where);
    if (std::abs(n) > FLT_MAX)
        throw RigError{where, "is beyond what the host's scene file can hold (single precision, at most about 3.4e38)"};
    return n;
}

int integer(const json& value, const std::string& where) {
    if (!value.is_number_integer()) throw RigError{where, "must be a whole number"};
    if ((value.is_number_unsigned() && value.get<unsigned long long>() > 1000000000) ||
        value.get<long long>() < -1000000000 || value.get<long long>() > 1000000000)
        throw RigError{where, "must be a whole number from -1000000000 to 1000000000"};
    return value.get<int>();
}

bool flag(const json& object, const std::string& where, const char* name, bool fallback) {
    const json* value = optionalField(object, name);
    if (!value) return fallback;
    if (!value->is_boolean()) throw RigError{at(where, name), "must be true or false"};
    return value->get<bool>();
}

Point3 point(const json& value, const std::string& where) {
    if (!value.is_array() || value.size() != 3) throw RigError{where, "must be three numbers [x, y, z]"};
    return {sceneNumber(value[0], where + "[0]"), sceneNumber(value[1], where + "[1]"), sceneNumber(value[2], where + "[2]")};
}

const json& list(const json& object, const std::string& where, const char* name, bool required) {
    static const json empty = json::array();
    const json* value = required ? &field(object, where, name) : optionalField(object, name);
    if (!value) return empty;
    if (!value->is_array()) throw RigError{at(where, name), "must be a list"};
    return *value;
}

void checkRange(const FrameRange& range, const std::string& where) {
    if (range.step <= 0) throw RigError{where, "the step must be at least 1"};
    if (range.end < range.start) throw RigError{where, "the end frame is before the start frame"};
    if ((static_cast<long long>(range.end) - range.start) / range.step + 1 > 10000000)
        throw RigError{where, "more than 10,000,000 frames"};
}

// "objectFile": the skelegons of every layer of an object file, the ones the
// muscles name selected. False when the rig has no such field.
bool skelegonsFromObject(const json& root, const std::filesystem::path& folder, Rig& rig,
                         std::map<std::string, const RigSkelegon*>& byName) {
    const json* objectFile = optionalField(root, "objectFile");
    if (!objectFile) return false;
    if (optionalField(root, "skelegons"))
        throw RigError{"objectFile", "a rig takes its skelegons from \"skelegons\" or from \"objectFile\", not both"};
    const std::filesystem::path object = std::filesystem::u8path(text(*objectFile, "objectFile"));
    rig.objectFile = (object.is_absolute() ? object : folder / object).string();
    if (!optionalField(root, "object")) rig.object = object.stem().string();
    std::vector<std::string> chosen;
    for (const json& entry : list(root, "", "muscles", false))
        if (entry.is_object() && entry.contains("skelegon") && entry["skelegon"].is_string())
            chosen.push_back(entry["skelegon"].get<std::string>());
    host::MeshObject mesh;
    std::vector<LWPolID> polygons;
    std::string error;
    if (!loadObjectSkelegons(rig.objectFile, chosen, mesh, rig.skelegons, polygons, error))
        throw RigError{"objectFile", error};
    for (const RigSkelegon& s : rig.skelegons)
        if (!s.name.empty() && !byName.emplace(s.name, &s).second)
            throw RigError{"objectFile", rig.objectFile + ": two skelegons are named \"" + s.name + "\""};
    return true;
}

std::string numberText(double number) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", number);
    return text;
}

// What Layout makes of the skelegons that the artist most likely did not
// mean: a bone with no length, which no muscle can aim, and skelegons that end
// in each other, where Layout leaves one unparented to break the loop.
void warnAboutSkelegons(const Rig& rig, std::vector<std::string>& warnings) {
    std::map<int, std::vector<std::size_t>> byLayer;
    for (std::size_t i = 0; i < rig.skelegons.size(); ++i) {
        const RigSkelegon& s = rig.skelegons[i];
        if (s.pivot == s.tip)
            warnings.push_back("skelegons[" + std::to_string(i) + "] \"" + s.name +
                               "\" has zero length (its pivot is its tip): its bone cannot aim");
        byLayer[s.layer].push_back(i);
    }
    for (const auto& [layer, members] : byLayer) {
        // A skelegon's parent is the first of its layer whose tip is exactly its pivot.
        std::map<Point3, int> endingAt;
        for (int j = static_cast<int>(members.size()) - 1; j >= 0; --j) endingAt[rig.skelegons[members[j]].tip] = j;
        std::vector<int> parent(members.size(), -1), walk(members.size(), -1);
        for (int i = 0; i < static_cast<int>(members.size()); ++i)
            if (auto found = endingAt.find(rig.skelegons[members[i]].pivot); found != endingAt.end() && found->second != i)
                parent[i] = found->second;
        for (int start = 0; start < static_cast<int>(members.size()); ++start) {
            int step = start;
            while (step != -1 && walk[step] == -1) {
                walk[step] = start;
                step = parent[step];
            }
            if (step == -1 || walk[step] != start) continue;
            std::string names;
            int last = step;
            int in = step;
            do {
                names += (names.empty() ? "\"" : ", \"") + rig.skelegons[members[in]].name + "\"";
                last = std::max(last, in);
                in = parent[in];
            } while (in != step);
            warnings.push_back("skelegons " + names + " end in each other (a parent loop): the bone of \"" +
                               rig.skelegons[members[last]].name + "\" is left without a parent bone");
        }
    }
}

Rig rigFrom(const json& root, const std::filesystem::path& folder, std::vector<std::string>& warnings) {
    expectObject(root, "the rig");
    onlyKnownFields(root, "", kRigFields);
    Rig rig;
    if (const json* object = optionalField(root, "object")) rig.object = text(*object, "object");
    std::string hostName;
    if (!host::cp932FromUtf8(rig.object, hostName))
        throw RigError{"object", "\"" + rig.object + "\" has a character the host's code page 932 cannot hold"};
    if (const json* layer = optionalField(root, "primaryLayer")) rig.primaryLayer = integer(*layer, "primaryLayer");
    if (rig.primaryLayer < 1 || rig.primaryLayer > 1000) throw RigError{"primaryLayer", "must be from 1 to 1000"};
    if (const json* fps = optionalField(root, "fps")) rig.fps = number(*fps, "fps");
    if (rig.fps <= 0 || rig.fps > 100000) throw RigError{"fps", "must be more than 0 and at most 100000"};

    const json& frames = field(root, "", "frames");
    expectObject(frames, "frames");
    onlyKnownFields(frames, "frames", kFrameFields);
    rig.frames.start = integer(field(frames, "frames", "start"), "frames.start");
    rig.frames.end = integer(field(frames, "frames", "end"), "frames.end");
    if (const json* step = optionalField(frames, "step")) rig.frames.step = integer(*step, "frames.step");
    checkRange(rig.frames, "frames");

    std::map<std::string, const RigSkelegon*> byName;
    const bool fromObject = skelegonsFromObject(root, folder, rig, byName);
    const json& skelegons = list(root, "", "skelegons", !fromObject);
    if (skelegons.empty() && !fromObject) throw RigError{"skelegons", "the rig has no skelegons"};
    rig.skelegons.reserve(skelegons.size());
    for (std::size_t i = 0; i < skelegons.size(); ++i) {
        const std::string where = "skelegons[" + std::to_string(i) + "]";
        const json& entry = skelegons[i];
        expectObject(entry, where);
        onlyKnownFields(entry, where, kSkelegonFields);
        RigSkelegon s;
        s.name = text(field(entry, where, "name"), at(where, "name"));
        if (s.name.empty()) throw RigError{at(where, "name"), "must not be empty"};
        std::string hostName;
        if (!host::cp932FromUtf8(s.name, hostName))
            throw RigError{at(where, "name"), "\"" + s.name + "\" has a character the host's code page 932 cannot hold"};
        s.pivot = point(field(entry, where, "pivot"), at(where, "pivot"));
        s.tip = point(field(entry, where, "tip"), at(where, "tip"));
        s.selected = flag(entry, where, "selected", false);
        if (const json* layer = optionalField(entry, "layer")) s.layer = integer(*layer, at(where, "layer"));
        if (s.layer < 1 || s.layer > 1000) throw RigError{at(where, "layer"), "must be from 1 to 1000"};
        rig.skelegons.push_back(s);
        if (!byName.emplace(s.name, &rig.skelegons.back()).second)
            throw RigError{at(where, "name"), "\"" + s.name + "\" names two skelegons"};
    }
    auto skelegonNamed = [&](const std::string& name, const std::string& where) {
        auto found = byName.find(name);
        if (found == byName.end()) throw RigError{where, "unknown skelegon \"" + name + "\""};
        return found->second;
    };

    std::map<std::string, std::size_t> muscleEntry;
    const json& muscles = list(root, "", "muscles", false);
    for (std::size_t i = 0; i < muscles.size(); ++i) {
        const std::string where = "muscles[" + std::to_string(i) + "]";
        const json& entry = muscles[i];
        expectObject(entry, where);
        onlyKnownFields(entry, where, kMuscleFields);
        RigMuscle m;
        m.skelegon = text(field(entry, where, "skelegon"), at(where, "skelegon"));
        const RigSkelegon* own = skelegonNamed(m.skelegon, at(where, "skelegon"));
        if (!own->selected || own->layer != rig.primaryLayer)
            throw RigError{at(where, "skelegon"), "\"" + m.skelegon +
                                                      "\" is not a selected skelegon of the primary layer, so "
                                                      "SetMuscle shows no row for it"};
        if (auto [earlier, added] = muscleEntry.emplace(m.skelegon, i); !added)
            throw RigError{at(where, "skelegon"), "\"" + m.skelegon + "\" has two muscle entries (the first is muscles[" +
                                                      std::to_string(earlier->second) + "])"};
        if (const json* reference = optionalField(entry, "reference")) {
            m.reference = text(*reference, at(where, "reference"));
            if (*m.reference == m.skelegon)
                throw RigError{at(where, "reference"), "\"" + m.skelegon +
                                                           "\" is the muscle itself; a muscle reaches for another skelegon"};
            if (skelegonNamed(*m.reference, at(where, "reference"))->layer != rig.primaryLayer)
                throw RigError{at(where, "reference"), "\"" + *m.reference +
                                                           "\" is not on the primary layer, so SetMuscle cannot offer it"};
        }
        m.preserveVolume = flag(entry, where, "preserveVolume", false);
        m.afterIK = flag(entry, where, "afterIK", true);
        // A popup's choice by its name: the index of the item the panel offers.
        auto choice = [&](const char* name, const std::vector<const char*>& names, int& index) {
            const json* given = optionalField(entry, name);
            if (!given) return;
            const std::string chosen = text(*given, at(where, name));
            const auto found = std::find(names.begin(), names.end(), chosen);
            if (found == names.end()) {
                std::string offered;
                for (const char* n : names) offered += std::string(offered.empty() ? "" : ", ") + "\"" + n + "\"";
                throw RigError{at(where, name), "\"" + chosen + "\" is not one of " + offered};
            }
            index = static_cast<int>(found - names.begin());
        };
        choice("volumeAxes", kVolumeAxes, m.volumeAxes);
        choice("aim", kAims, m.aim);
        // Out of range is brought into it, as the options panel does, and said.
        auto control = [&](const char* name, double& value, double least, double most) {
            const json* given = optionalField(entry, name);
            if (!given) return;
            value = number(*given, at(where, name));
            const double within = std::clamp(value, least, most);
            if (within != value)
                warnings.push_back(at(where, name) + ": " + numberText(value) + " is brought into its range, to " +
                                   numberText(within));
            value = within;
        };
        control("bulge", m.bulge, 0, 10);
        control("stretchMin", m.stretchMin, 0, HUGE_VAL);
        control("stretchMax", m.stretchMax, 0, HUGE_VAL);
        control("influence", m.influence, 0, 1);
        rig.muscles.push_back(m);
    }

    // Which key set each channel of a bone at a frame, to refuse a second one.
    std::map<std::tuple<std::string, double, bool>, std::size_t> keyed;
    const json& keys = list(root, "", "keys", false);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string where = "keys[" + std::to_string(i) + "]";
        const json& entry = keys[i];
        expectObject(entry, where);
        onlyKnownFields(entry, where, kKeyFields);
        RigKey k;
        k.bone = text(field(entry, where, "bone"), at(where, "bone"));
        skelegonNamed(k.bone, at(where, "bone"));
        k.frame = number(field(entry, where, "frame"), at(where, "frame"));
        if (std::abs(k.frame) > 1e9) throw RigError{at(where, "frame"), "must be from -1000000000 to 1000000000"};
        if (const json* position = optionalField(entry, "position")) k.position = point(*position, at(where, "position"));
        if (const json* rotation = optionalField(entry, "rotation")) k.rotation = point(*rotation, at(where, "rotation"));
        if (!k.position && !k.rotation) throw RigError{where, "a key needs a position or a rotation"};
        for (const bool rotation : {false, true}) {
            if (!(rotation ? k.rotation : k.position)) continue;
            const auto [earlier, added] = keyed.emplace(std::make_tuple(k.bone, k.frame, rotation), i);
            if (!added)
                throw RigError{at(where, rotation ? "rotation" : "position"),
                               "a second key for bone \"" + k.bone + "\" at frame " + numberText(k.frame) +
                                   " (the first is keys[" + std::to_string(earlier->second) + "])"};
        }
        rig.keys.push_back(k);
    }
    warnAboutSkelegons(rig, warnings);
    return rig;
}

}  // namespace

std::vector<std::pair<std::string, std::vector<std::string>>> rigFields() {
    auto names = [](const std::vector<const char*>& fields) { return std::vector<std::string>(fields.begin(), fields.end()); };
    return {{"", names(kRigFields)},
            {"frames", names(kFrameFields)},
            {"skelegons", names(kSkelegonFields)},
            {"muscles", names(kMuscleFields)},
            {"keys", names(kKeyFields)}};
}

bool loadRig(const std::string& path, Rig& rig, std::vector<std::string>& warnings, std::string& error) {
    std::error_code failed;
    const auto status = std::filesystem::status(path, failed);
    if (std::filesystem::is_directory(status)) {
        error = path + ": is a folder, not a rig file";
        return false;
    }
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        error = path + ": is not a regular file (a device, FIFO or socket), not a rig file";
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be read (" + systemReason() + ")";
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) {
        error = path + ": cannot be read (" + systemReason() + ")";
        return false;
    }
    const std::string text = content.str();
    RigDocument document;
    if (!json::sax_parse(text, &document)) {
        if (!document.libraryError) {
            error = path + ": " + document.error;
            return false;
        }
        // The library's own parse errors name the line and column; for the
        // rest (a number it cannot hold) the place is worked out here.
        std::string message = document.error;
        const std::size_t from = message.find("parse error");
        if (from != std::string::npos)
            error = path + ": not valid JSON: " + message.substr(from);
        else {
            const std::size_t bracket = message.find("] ");
            error = path + ": not valid JSON: " + lineAndColumn(text, document.errorAt) + ": " +
                    (bracket == std::string::npos ? message : message.substr(bracket + 2)) +
                    " (beyond what a number can hold)";
        }
        return false;
    }
    try {
        rig = rigFrom(document.root, std::filesystem::u8path(path).parent_path(), warnings);
    } catch (const RigError& e) {
        error = path + ": " + (e.where.empty() ? "" : e.where + ": ") + e.what;
        return false;
    } catch (const json::exception& e) {
        error = path + ": " + e.what();
        return false;
    }
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
    } catch (const RigError& e) {
        error = text + ": " + e.what;
        return false;
    }
    range = parsed;
    return true;
}

}  // namespace sinewrig_tool
