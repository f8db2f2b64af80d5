#include <cmath>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "host/text/cp932.h"
#include "tools/sinewrig/rig.h"

namespace sinewrig_tool {

namespace {

using nlohmann::json;

// Thrown while reading a rig, with the place in the file it concerns.
struct RigError {
    std::string where, what;
};

std::string at(const std::string& where, const std::string& field) { return where.empty() ? field : where + "." + field; }

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

int integer(const json& value, const std::string& where) {
    if (!value.is_number_integer() || value.get<long long>() < -1000000000 || value.get<long long>() > 1000000000)
        throw RigError{where, "must be a whole number"};
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
    return {number(value[0], where + "[0]"), number(value[1], where + "[1]"), number(value[2], where + "[2]")};
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

Rig rigFrom(const json& root) {
    expectObject(root, "the rig");
    Rig rig;
    if (const json* object = optionalField(root, "object")) rig.object = text(*object, "object");
    std::string hostName;
    if (!host::cp932FromUtf8(rig.object, hostName))
        throw RigError{"object", "\"" + rig.object + "\" has a character the host's code page 932 cannot hold"};
    if (const json* layer = optionalField(root, "primaryLayer")) rig.primaryLayer = integer(*layer, "primaryLayer");
    if (rig.primaryLayer < 1 || rig.primaryLayer > 1000) throw RigError{"primaryLayer", "must be from 1 to 1000"};
    if (const json* fps = optionalField(root, "fps")) rig.fps = number(*fps, "fps");
    if (rig.fps <= 0) throw RigError{"fps", "must be more than 0"};

    const json& frames = field(root, "", "frames");
    expectObject(frames, "frames");
    rig.frames.start = integer(field(frames, "frames", "start"), "frames.start");
    rig.frames.end = integer(field(frames, "frames", "end"), "frames.end");
    if (const json* step = optionalField(frames, "step")) rig.frames.step = integer(*step, "frames.step");
    checkRange(rig.frames, "frames");

    std::map<std::string, const RigSkelegon*> byName;
    const json& skelegons = list(root, "", "skelegons", true);
    if (skelegons.empty()) throw RigError{"skelegons", "the rig has no skelegons"};
    rig.skelegons.reserve(skelegons.size());
    for (std::size_t i = 0; i < skelegons.size(); ++i) {
        const std::string where = "skelegons[" + std::to_string(i) + "]";
        const json& entry = skelegons[i];
        expectObject(entry, where);
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

    const json& muscles = list(root, "", "muscles", false);
    for (std::size_t i = 0; i < muscles.size(); ++i) {
        const std::string where = "muscles[" + std::to_string(i) + "]";
        const json& entry = muscles[i];
        expectObject(entry, where);
        RigMuscle m;
        m.skelegon = text(field(entry, where, "skelegon"), at(where, "skelegon"));
        const RigSkelegon* own = skelegonNamed(m.skelegon, at(where, "skelegon"));
        if (!own->selected || own->layer != rig.primaryLayer)
            throw RigError{at(where, "skelegon"), "\"" + m.skelegon +
                                                      "\" is not a selected skelegon of the primary layer, so "
                                                      "SetMuscle shows no row for it"};
        for (const RigMuscle& other : rig.muscles)
            if (other.skelegon == m.skelegon) throw RigError{at(where, "skelegon"), "\"" + m.skelegon + "\" has two muscle entries"};
        if (const json* reference = optionalField(entry, "reference")) {
            m.reference = text(*reference, at(where, "reference"));
            if (skelegonNamed(*m.reference, at(where, "reference"))->layer != rig.primaryLayer)
                throw RigError{at(where, "reference"), "\"" + *m.reference +
                                                           "\" is not on the primary layer, so SetMuscle cannot offer it"};
        }
        m.preserveVolume = flag(entry, where, "preserveVolume", false);
        m.afterIK = flag(entry, where, "afterIK", true);
        rig.muscles.push_back(m);
    }

    const json& keys = list(root, "", "keys", false);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string where = "keys[" + std::to_string(i) + "]";
        const json& entry = keys[i];
        expectObject(entry, where);
        RigKey k;
        k.bone = text(field(entry, where, "bone"), at(where, "bone"));
        skelegonNamed(k.bone, at(where, "bone"));
        k.frame = number(field(entry, where, "frame"), at(where, "frame"));
        if (const json* position = optionalField(entry, "position")) k.position = point(*position, at(where, "position"));
        if (const json* rotation = optionalField(entry, "rotation")) k.rotation = point(*rotation, at(where, "rotation"));
        if (!k.position && !k.rotation) throw RigError{where, "a key needs a position or a rotation"};
        rig.keys.push_back(k);
    }
    return rig;
}

}  // namespace

bool loadRig(const std::string& path, Rig& rig, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be read";
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    json root;
    try {
        root = json::parse(content.str());
    } catch (const json::parse_error& e) {
        // The library's message names the line and column: "parse error at line 3, column 5: ...".
        std::string message = e.what();
        const std::size_t from = message.find("parse error");
        error = path + ": not valid JSON: " + (from == std::string::npos ? message : message.substr(from));
        return false;
    }
    try {
        rig = rigFrom(root);
    } catch (const RigError& e) {
        error = path + ": " + (e.where.empty() ? "" : e.where + ": ") + e.what;
        return false;
    } catch (const json::exception& e) {
        error = path + ": " + e.what();
        return false;
    }
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
        try {
            value = std::stoll(part, &used);
        } catch (...) {
            used = 0;
        }
        if (part.empty() || used != part.size() || value < -1000000000 || value > 1000000000) {
            error = text + ": \"" + part + "\" is not a whole frame number (want START:END[:STEP])";
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
