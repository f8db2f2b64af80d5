// What ReadMuscle reads from one tagged skelegon of the object's mesh: the
// bone's name, its reference's name, the two options and the colour. The texts
// are copied, since they are matched with bone names only after the scan.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "abi/lw_host.h"

namespace sinewrig {

struct MuscleTagEntry {
    std::optional<std::string> boneName;       // PART
    bool preserveVolume = false;               // MFLG
    bool afterIK = false;                      // MFLG
    std::optional<std::string> referenceName;  // MTIP
    int colourIndex = -1;                      // COLR as an item colour number, or -1
};

// The polygon scan's context: the mesh view it scans and the entries so far.
struct MuscleTagScan {
    LWMeshInfo* mesh = nullptr;
    std::vector<MuscleTagEntry> entries;
    // Set when an entry could not be kept; the command then changes nothing.
    bool outOfMemory = false;
};

// The LWPolScanFunc: one entry per skelegon that carries MFLG. Always 0, so
// every polygon is visited.
size_t collectMuscleTag(void* scan, LWPolID polygon);

}  // namespace sinewrig
