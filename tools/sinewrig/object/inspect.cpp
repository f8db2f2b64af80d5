#include "tools/sinewrig/object/inspect.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "format/item_colours.h"
#include "tools/sinewrig/rig/object_skelegons.h"

namespace sinewrig_tool {

namespace {

using nlohmann::ordered_json;

// Coordinates are single precision in the file: the fewest digits that give the same float back.
std::string number(double value) {
    char text[32];
    for (int digits = 6; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (static_cast<float>(std::strtod(text, nullptr)) == static_cast<float>(value)) break;
    }
    return text;
}

double shortest(double value) { return std::isfinite(value) ? std::strtod(number(value).c_str(), nullptr) : value; }

std::string point(const Point3& p) { return "(" + number(p[0]) + ", " + number(p[1]) + ", " + number(p[2]) + ")"; }

std::string colourMeaning(const std::string& colour) {
    const int index = sinewrig::itemColourIndex(colour.c_str());
    return "\"" + colour + "\"" + (index < 0 ? " (no item colour of the host: the bone keeps its own)"
                                             : " (item colour " + std::to_string(index) + ")");
}

void printText(std::ostream& out, const std::string& path, const ObjectReport& report) {
    std::size_t skelegons = 0;
    for (const ObjectLayer& layer : report.layers) skelegons += layer.skelegons.size();
    out << "object " << path << ": " << report.layers.size() << " layer(s), " << skelegons << " skelegon(s)\n";
    for (const ObjectLayer& layer : report.layers) {
        out << "\nlayer " << layer.number << " \"" << layer.name << "\"" << (layer.hidden ? " (hidden)" : "")
            << ": pivot " << point(layer.pivot);
        if (layer.parent > 0) out << ", parent layer " << layer.parent;
        out << ", " << layer.points << " point(s), polygons:";
        if (layer.polygonCounts.empty()) out << " none";
        for (const auto& [type, count] : layer.polygonCounts) out << " " << count << " " << type;
        out << "\n";
        for (const ObjectSkelegon& s : layer.skelegons) {
            out << "  skelegon " << (s.name.empty() ? "(no name)" : "\"" + s.name + "\"");
            if (!s.nameTag.empty()) out << " (named by " << s.nameTag << ")";
            out << ": pivot " << point(s.pivot) << ", tip " << point(s.tip) << ", hangs from "
                << (s.parent < 0 ? "the object" : "\"" + layer.skelegons[s.parent].name + "\"") << "\n";
            if (!s.muscle) {
                out << "    not a muscle" << (s.colour ? ", sketch colour \"" + *s.colour + "\"" : "") << "\n";
                continue;
            }
            out << "    muscle: reference " << (s.muscle->reference ? "\"" + *s.muscle->reference + "\"" : "none")
                << ", preserve volume " << (s.muscle->preserveVolume() ? "yes" : "no") << ", after IK "
                << (s.muscle->afterIK() ? "yes" : "no") << " (MFLG \"" << s.muscle->flagsText << "\"), colour "
                << (s.colour ? colourMeaning(*s.colour) : "none") << "\n";
        }
    }
    out << "\n";
    if (report.problems.empty()) out << "problems: none\n";
    else out << "problems (" << report.problems.size() << "):\n";
    for (const std::string& problem : report.problems) out << "  " << problem << "\n";
}

ordered_json pointJson(const Point3& p) { return ordered_json::array({shortest(p[0]), shortest(p[1]), shortest(p[2])}); }

ordered_json reportJson(const std::string& path, const ObjectReport& report) {
    ordered_json root;
    root["file"] = path;
    root["layers"] = ordered_json::array();
    for (const ObjectLayer& layer : report.layers) {
        ordered_json l;
        l["number"] = layer.number;
        l["name"] = layer.name;
        l["hidden"] = layer.hidden;
        l["parent"] = layer.parent > 0 ? ordered_json(layer.parent) : ordered_json(nullptr);
        l["pivot"] = pointJson(layer.pivot);
        l["points"] = layer.points;
        l["polygons"] = ordered_json::object();
        for (const auto& [type, count] : layer.polygonCounts) l["polygons"][type] = count;
        l["skelegons"] = ordered_json::array();
        for (const ObjectSkelegon& s : layer.skelegons) {
            ordered_json j;
            j["name"] = s.name.empty() ? ordered_json(nullptr) : ordered_json(s.name);
            j["nameTag"] = s.nameTag.empty() ? ordered_json(nullptr) : ordered_json(s.nameTag);
            j["pivot"] = pointJson(s.pivot);
            j["tip"] = pointJson(s.tip);
            j["parent"] = s.parent < 0 ? ordered_json(nullptr) : ordered_json(layer.skelegons[s.parent].name);
            j["parentIndex"] = s.parent < 0 ? ordered_json(nullptr) : ordered_json(s.parent);
            j["colour"] = s.colour ? ordered_json(*s.colour) : ordered_json(nullptr);
            if (s.muscle) {
                ordered_json m;
                m["reference"] = s.muscle->reference ? ordered_json(*s.muscle->reference) : ordered_json(nullptr);
                m["preserveVolume"] = s.muscle->preserveVolume();
                m["afterIK"] = s.muscle->afterIK();
                m["flags"] = s.muscle->flags;
                m["flagsText"] = s.muscle->flagsText;
                const int colour = s.colour ? sinewrig::itemColourIndex(s.colour->c_str()) : -1;
                m["itemColour"] = colour < 0 ? ordered_json(nullptr) : ordered_json(colour);
                j["muscle"] = m;
            } else {
                j["muscle"] = nullptr;
            }
            l["skelegons"].push_back(j);
        }
        root["layers"].push_back(l);
    }
    root["problems"] = report.problems;
    return root;
}

}  // namespace

int inspectObject(const InspectOptions& options, Console console) {
    host::ObjectFile file;
    host::MeshObject mesh;
    std::string error;
    if (!host::loadObjectFile(options.object, file, mesh, error)) {
        console.err << "sinewrig inspect: " << error << "\n";
        return kExitBadInput;
    }
    const ObjectReport report = describeObject(file, mesh);
    if (options.json)
        console.out << reportJson(options.object, report).dump(2, ' ', false, ordered_json::error_handler_t::replace) << "\n";
    else
        printText(console.out, options.object, report);
    return report.problems.empty() ? kExitOk : kExitFailed;
}

}  // namespace sinewrig_tool
