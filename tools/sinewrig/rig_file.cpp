#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "host/text/cp932.h"
#include "host/text/text_format.h"
#include "tools/sinewrig/common/field_reader.h"
#include "tools/sinewrig/common/json_file.h"
#include "tools/sinewrig/rig.h"
#include "tools/sinewrig/rig_object_file.h"

namespace sinewrig_tool {

namespace {

// Every field of an object must be one the rig format knows.
const std::vector<std::string> kRigFields = {"$schema", "object", "primaryLayer", "fps", "frames", "skelegons", "objectFile", "muscles", "keys"};
const std::vector<std::string> kFrameFields = {"start", "end", "step"};
const std::vector<std::string> kSkelegonFields = {"name", "pivot", "tip", "selected", "layer"};
// The names of the popups' choices in a rig file, in the order the panel offers them.
const std::vector<std::string> kVolumeAxes = {"xy", "x", "y"};
const std::vector<std::string> kAims = {"headingPitch", "shortestTurn"};
const std::vector<std::string> kMuscleFields = {"skelegon", "reference", "preserveVolume", "afterIK", "volumeAxes",
                                                "bulge", "stretchMin", "stretchMax", "influence", "aim"};
const std::vector<std::string> kKeyFields = {"bone", "frame", "position", "rotation"};

// Coordinates and angles go into the host's scene file, which holds single precision.
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

void checkRange(const FrameRange& range, const std::string& where) {
    if (range.step <= 0) throw FieldError{where, "the step must be at least 1"};
    if (range.end < range.start) throw FieldError{where, "the end frame is before the start frame"};
    if ((static_cast<long long>(range.end) - range.start) / range.step + 1 > 10000000)
        throw FieldError{where, "more than 10,000,000 frames"};
}

// "objectFile": the skelegons of every layer of an object file, the ones the
// muscles name selected. False when the rig has no such field.
bool skelegonsFromObject(const Json& root, const std::filesystem::path& folder, Rig& rig,
                         std::map<std::string, const RigSkelegon*>& byName) {
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
        if (!s.name.empty() && !byName.emplace(s.name, &s).second)
            throw FieldError{"objectFile", rig.objectFile + ": two skelegons are named \"" + s.name + "\""};
    return true;
}

std::string numberText(double number) { return host::numberText(number, 10); }

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

Rig rigFrom(const Json& root, const std::filesystem::path& folder, std::vector<std::string>& warnings) {
    expectObject(root, "the rig");
    onlyKnownFields(root, "", kRigFields);
    Rig rig;
    if (const Json* object = optionalField(root, "object")) rig.object = text(*object, "object");
    std::string hostName;
    if (!host::cp932FromUtf8(rig.object, hostName))
        throw FieldError{"object", "\"" + rig.object + "\" has a character the host's code page 932 cannot hold"};
    if (const Json* layer = optionalField(root, "primaryLayer")) rig.primaryLayer = integer(*layer, "primaryLayer");
    if (rig.primaryLayer < 1 || rig.primaryLayer > 1000) throw FieldError{"primaryLayer", "must be from 1 to 1000"};
    if (const Json* fps = optionalField(root, "fps")) rig.fps = number(*fps, "fps");
    if (rig.fps <= 0 || rig.fps > 100000) throw FieldError{"fps", "must be more than 0 and at most 100000"};

    const Json& frames = field(root, "", "frames");
    expectObject(frames, "frames");
    onlyKnownFields(frames, "frames", kFrameFields);
    rig.frames.start = integer(field(frames, "frames", "start"), "frames.start");
    rig.frames.end = integer(field(frames, "frames", "end"), "frames.end");
    if (const Json* step = optionalField(frames, "step")) rig.frames.step = integer(*step, "frames.step");
    checkRange(rig.frames, "frames");

    std::map<std::string, const RigSkelegon*> byName;
    const bool fromObject = skelegonsFromObject(root, folder, rig, byName);
    const Json& skelegons = fromObject ? optionalList(root, "", "skelegons") : requiredList(root, "", "skelegons");
    if (skelegons.empty() && !fromObject) throw FieldError{"skelegons", "the rig has no skelegons"};
    rig.skelegons.reserve(skelegons.size());
    for (std::size_t i = 0; i < skelegons.size(); ++i) {
        const std::string where = "skelegons[" + std::to_string(i) + "]";
        const Json& entry = skelegons[i];
        expectObject(entry, where);
        onlyKnownFields(entry, where, kSkelegonFields);
        RigSkelegon s;
        s.name = text(field(entry, where, "name"), at(where, "name"));
        if (s.name.empty()) throw FieldError{at(where, "name"), "must not be empty"};
        std::string hostName;
        if (!host::cp932FromUtf8(s.name, hostName))
            throw FieldError{at(where, "name"), "\"" + s.name + "\" has a character the host's code page 932 cannot hold"};
        s.pivot = point(field(entry, where, "pivot"), at(where, "pivot"));
        s.tip = point(field(entry, where, "tip"), at(where, "tip"));
        s.selected = flag(entry, where, "selected", false);
        if (const Json* layer = optionalField(entry, "layer")) s.layer = integer(*layer, at(where, "layer"));
        if (s.layer < 1 || s.layer > 1000) throw FieldError{at(where, "layer"), "must be from 1 to 1000"};
        rig.skelegons.push_back(s);
        if (!byName.emplace(s.name, &rig.skelegons.back()).second)
            throw FieldError{at(where, "name"), "\"" + s.name + "\" names two skelegons"};
    }
    auto skelegonNamed = [&](const std::string& name, const std::string& where) {
        auto found = byName.find(name);
        if (found == byName.end()) throw FieldError{where, "unknown skelegon \"" + name + "\""};
        return found->second;
    };

    std::map<std::string, std::size_t> muscleEntry;
    const Json& muscles = optionalList(root, "", "muscles");
    for (std::size_t i = 0; i < muscles.size(); ++i) {
        const std::string where = "muscles[" + std::to_string(i) + "]";
        const Json& entry = muscles[i];
        expectObject(entry, where);
        onlyKnownFields(entry, where, kMuscleFields);
        RigMuscle m;
        m.skelegon = text(field(entry, where, "skelegon"), at(where, "skelegon"));
        const RigSkelegon* own = skelegonNamed(m.skelegon, at(where, "skelegon"));
        if (!own->selected || own->layer != rig.primaryLayer)
            throw FieldError{at(where, "skelegon"), "\"" + m.skelegon +
                                                      "\" is not a selected skelegon of the primary layer, so "
                                                      "SetMuscle shows no row for it"};
        if (auto [earlier, added] = muscleEntry.emplace(m.skelegon, i); !added)
            throw FieldError{at(where, "skelegon"), "\"" + m.skelegon + "\" has two muscle entries (the first is muscles[" +
                                                      std::to_string(earlier->second) + "])"};
        if (const Json* reference = optionalField(entry, "reference")) {
            m.reference = text(*reference, at(where, "reference"));
            if (*m.reference == m.skelegon)
                throw FieldError{at(where, "reference"), "\"" + m.skelegon +
                                                           "\" is the muscle itself; a muscle reaches for another skelegon"};
            if (skelegonNamed(*m.reference, at(where, "reference"))->layer != rig.primaryLayer)
                throw FieldError{at(where, "reference"), "\"" + *m.reference +
                                                           "\" is not on the primary layer, so SetMuscle cannot offer it"};
        }
        m.preserveVolume = flag(entry, where, "preserveVolume", false);
        m.afterIK = flag(entry, where, "afterIK", true);
        choice(entry, where, "volumeAxes", kVolumeAxes, m.volumeAxes);
        choice(entry, where, "aim", kAims, m.aim);
        // Out of range is brought into it, as the options panel does, and said.
        auto control = [&](const char* name, double& value, double least, double most) {
            const Json* given = optionalField(entry, name);
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
    const Json& keys = optionalList(root, "", "keys");
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string where = "keys[" + std::to_string(i) + "]";
        const Json& entry = keys[i];
        expectObject(entry, where);
        onlyKnownFields(entry, where, kKeyFields);
        RigKey k;
        k.bone = text(field(entry, where, "bone"), at(where, "bone"));
        skelegonNamed(k.bone, at(where, "bone"));
        k.frame = number(field(entry, where, "frame"), at(where, "frame"));
        if (std::abs(k.frame) > 1e9) throw FieldError{at(where, "frame"), "must be from -1000000000 to 1000000000"};
        if (const Json* position = optionalField(entry, "position")) k.position = point(*position, at(where, "position"));
        if (const Json* rotation = optionalField(entry, "rotation")) k.rotation = point(*rotation, at(where, "rotation"));
        if (!k.position && !k.rotation) throw FieldError{where, "a key needs a position or a rotation"};
        for (const bool rotation : {false, true}) {
            if (!(rotation ? k.rotation : k.position)) continue;
            const auto [earlier, added] = keyed.emplace(std::make_tuple(k.bone, k.frame, rotation), i);
            if (!added)
                throw FieldError{at(where, rotation ? "rotation" : "position"),
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
    return {{"", kRigFields}, {"frames", kFrameFields}, {"skelegons", kSkelegonFields}, {"muscles", kMuscleFields}, {"keys", kKeyFields}};
}

bool loadRig(const std::string& path, Rig& rig, std::vector<std::string>& warnings, std::string& error) {
    Json root;
    if (!readJsonFile(path, "a rig file", root, error)) return false;
    try {
        rig = rigFrom(root, std::filesystem::u8path(path).parent_path(), warnings);
    } catch (const FieldError& e) {
        error = path + ": " + (e.where.empty() ? "" : e.where + ": ") + e.what;
        return false;
    } catch (const Json::exception& e) {
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
    } catch (const FieldError& e) {
        error = text + ": " + e.what;
        return false;
    }
    range = parsed;
    return true;
}

}  // namespace sinewrig_tool
