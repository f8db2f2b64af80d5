// The skelegons of an object file as the tool reports and tags them: per
// layer, in the order the host scans them, with the tags that name them and
// the muscle tags read as ReadMuscle reads them, and what is wrong with them;
// and as a rig's skelegons, for a rig file's "objectFile".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "format/skelegon_tags.h"
#include "host/modeler/mesh_object.h"
#include "host/object_file/object_file.h"
#include "tools/sinewrig/rig/rig.h"

namespace sinewrig_tool {

// A skelegon's muscle tags as they read: MFLG makes it a muscle.
struct MuscleTags {
    std::string flagsText;  // MFLG as written
    int flags = 0;          // as ReadMuscle reads it: leading digits, 0 without
    bool flagsIsNumber = true;
    std::optional<std::string> reference;  // MTIP, UTF-8
    bool preserveVolume() const { return sinewrig::preservesVolume(flags); }
    bool afterIK() const { return sinewrig::runsAfterIK(flags); }
};

struct ObjectSkelegon {
    LWPolID polygon = nullptr;
    std::string name;      // UTF-8; empty when neither PART nor BONE names it
    std::string nameTag;   // "PART", "BONE" or ""
    Point3 pivot{}, tip{};
    int parent = -1;  // index in its layer's skelegons of the one whose tip is its pivot
    std::optional<std::string> colour;  // COLR, UTF-8
    std::optional<MuscleTags> muscle;
};

struct ObjectLayer {
    int number = 1;  // as the host shows it, from 1
    std::string name;  // UTF-8
    Point3 pivot{};
    bool hidden = false;
    int parent = -1;  // as the host shows it, from 1; -1: none
    std::size_t points = 0;
    std::vector<std::pair<std::string, std::size_t>> polygonCounts;  // by type, in the order types first appear
    std::vector<ObjectSkelegon> skelegons;
};

struct ObjectReport {
    std::vector<ObjectLayer> layers;
    std::vector<std::string> problems;
};

// The layers in the order the file first names them, each once.
ObjectReport describeObject(const host::ObjectFile& file, host::MeshObject& mesh);

// A skelegon's muscle tags as SetMuscle left them, for a report:
// "COLR DkRed, MTIP ForeArm, MFLG 3", "(none)" for a tag it lacks.
std::string muscleTagsText(const host::MeshPolygon& polygon);

// Reads `path` into `mesh` and lists the skelegons of every layer as a rig's,
// with the BONE polygons they are, in the same order. `chosen` names the
// skelegons to select. False with `error` naming the file and what is wrong.
bool loadObjectSkelegons(const std::string& path, const std::vector<std::string>& chosen, host::MeshObject& mesh,
                         std::vector<RigSkelegon>& skelegons, std::vector<LWPolID>& polygons, std::string& error);

}  // namespace sinewrig_tool
