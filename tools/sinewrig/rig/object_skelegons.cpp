#include "tools/sinewrig/rig/object_skelegons.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "format/muscle_flags_text.h"
#include "host/scene/skelegon_bones.h"
#include "host/text/cp932.h"
#include "host/text/text_format.h"

namespace sinewrig_tool {

using sinewrig::kColourTag;
using sinewrig::kFlagsTag;
using sinewrig::kPartTag;
using sinewrig::kTipTag;

std::string muscleTagsText(const host::MeshPolygon& polygon) {
    auto text = [&](LWID tag) {
        const char* value = polygon.tag(tag);
        return value ? host::utf8FromCp932(value) : "(none)";
    };
    return "COLR " + text(kColourTag) + ", MTIP " + text(kTipTag) + ", MFLG " + text(kFlagsTag);
}

ObjectReport describeObject(const host::ObjectFile& file, host::MeshObject& mesh) {
    ObjectReport report;
    std::set<int> seen;
    for (const host::FileLayer& fileLayer : file.layers) {
        if (!seen.insert(fileLayer.meshIndex).second) continue;
        host::MeshLayer& source = mesh.layer(fileLayer.meshIndex);
        ObjectLayer layer;
        layer.number = source.number;
        layer.name = host::utf8FromCp932(source.name);
        layer.pivot = {source.pivot[0], source.pivot[1], source.pivot[2]};
        layer.hidden = source.hidden;
        layer.parent = source.parent < 0 ? -1 : source.parent + 1;
        layer.points = source.points.size();
        const std::string where = "layer " + std::to_string(layer.number);
        std::map<std::string, std::size_t> typeIndex;
        for (const auto& polygon : source.polygons) {
            const std::string type = host::idText(polygon->type);
            auto found = typeIndex.find(type);
            if (found == typeIndex.end()) {
                found = typeIndex.emplace(type, layer.polygonCounts.size()).first;
                layer.polygonCounts.emplace_back(type, 0);
            }
            ++layer.polygonCounts[found->second].second;
            if (polygon->type != sinewrig::kSkelegonType) continue;
            if (polygon->points.size() != 2) {
                report.problems.push_back(where + ": a BONE polygon of " + std::to_string(polygon->points.size()) +
                                          " point(s) is not a skelegon");
                if (polygon->points.size() < 2) continue;
            }
            ObjectSkelegon s;
            s.polygon = polygon.get();
            if (auto part = polygon->tags.find(kPartTag); part != polygon->tags.end()) {
                s.name = host::utf8FromCp932(part->second);
                s.nameTag = "PART";
            } else if (auto bone = polygon->tags.find(host::kBoneNameTag); bone != polygon->tags.end()) {
                s.name = host::utf8FromCp932(bone->second);
                s.nameTag = "BONE";
            }
            for (int axis = 0; axis < 3; ++axis) {
                s.pivot[axis] = static_cast<const host::MeshPoint*>(polygon->points[0])->position[axis];
                s.tip[axis] = static_cast<const host::MeshPoint*>(polygon->points[1])->position[axis];
            }
            if (const char* colour = polygon->tag(kColourTag)) s.colour = host::utf8FromCp932(colour);
            if (const char* flags = polygon->tag(kFlagsTag)) {
                MuscleTags muscle;
                muscle.flagsText = host::utf8FromCp932(flags);
                muscle.flags = sinewrig::readMuscleFlags(flags);
                muscle.flagsIsNumber = sinewrig::isMuscleFlagsNumber(flags);
                if (const char* tip = polygon->tag(kTipTag)) muscle.reference = host::utf8FromCp932(tip);
                s.muscle = muscle;
            }
            layer.skelegons.push_back(std::move(s));
        }
        // Parents as Layout makes the bones, loops left as they are: the report shows them.
        std::vector<host::Vector3> pivots, tips;
        for (const ObjectSkelegon& s : layer.skelegons) {
            pivots.push_back(s.pivot);
            tips.push_back(s.tip);
        }
        const std::vector<int> parents = host::skelegonParents(pivots, tips);
        std::map<std::string, int> named;
        for (int i = 0; i < static_cast<int>(layer.skelegons.size()); ++i) {
            ObjectSkelegon& s = layer.skelegons[i];
            s.parent = parents[i];
            if (s.name.empty()) report.problems.push_back(where + ": skelegon " + std::to_string(i + 1) + " has no name (no PART or BONE tag)");
            else if (++named[s.name] == 2) report.problems.push_back(where + ": two skelegons are named " + host::quoted(s.name));
        }
        for (const ObjectSkelegon& s : layer.skelegons) {
            if (!s.muscle) continue;
            const std::string who = where + ": skelegon " + host::quoted(s.name);
            if (!s.muscle->flagsIsNumber)
                report.problems.push_back(who + ": its MFLG text " + host::quoted(s.muscle->flagsText) +
                                          " is not a number (ReadMuscle reads it as " + std::to_string(s.muscle->flags) + ")");
            if (s.muscle->reference && !named.count(*s.muscle->reference))
                report.problems.push_back(who + ": its MTIP names " + host::quoted(*s.muscle->reference) + ", which is no skelegon of the layer");
        }
        report.layers.push_back(std::move(layer));
    }
    return report;
}

bool loadObjectSkelegons(const std::string& path, const std::vector<std::string>& chosen, host::MeshObject& mesh,
                         std::vector<RigSkelegon>& skelegons, std::vector<LWPolID>& polygons, std::string& error) {
    host::ObjectFile file;
    if (!host::loadObjectFile(path, file, mesh, error)) return false;
    skelegons.clear();
    polygons.clear();
    for (const ObjectLayer& layer : describeObject(file, mesh).layers)
        for (const ObjectSkelegon& s : layer.skelegons) {
            for (int axis = 0; axis < 3; ++axis)
                if (!std::isfinite(s.pivot[axis]) || !std::isfinite(s.tip[axis])) {
                    error = path + ": skelegon " + host::quoted(s.name) + " of layer " + std::to_string(layer.number) +
                            " has a coordinate that is not a finite number";
                    return false;
                }
            RigSkelegon rigSkelegon;
            rigSkelegon.name = s.name;
            rigSkelegon.pivot = s.pivot;
            rigSkelegon.tip = s.tip;
            rigSkelegon.layer = layer.number;
            rigSkelegon.selected = !s.name.empty() && std::find(chosen.begin(), chosen.end(), s.name) != chosen.end();
            skelegons.push_back(rigSkelegon);
            polygons.push_back(s.polygon);
        }
    if (skelegons.empty()) {
        error = path + ": the object has no skelegons";
        return false;
    }
    return true;
}

}  // namespace sinewrig_tool
