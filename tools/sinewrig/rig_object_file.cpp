#include "tools/sinewrig/rig_object_file.h"

#include <algorithm>
#include <cmath>

#include "host/object_file/object_file.h"
#include "tools/sinewrig/object_skelegons.h"

namespace sinewrig_tool {

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
                    error = path + ": skelegon \"" + s.name + "\" of layer " + std::to_string(layer.number) +
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
