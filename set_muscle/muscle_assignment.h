// The working state of one SetMuscle run: the skelegons the scan found and the
// rows the artist edits in the assignment panel before they become tags.
#pragma once

#include <vector>

#include "abi/lw_host.h"

namespace sinewrig {

struct MuscleRow {
    LWPolID skelegon;
    bool preserveVolume;
    bool afterIK;
    LWPolID reference;   // 0: no reference
};

// Every run starts from these: preserve volume off, after IK on, no reference.
inline MuscleRow newMuscleRow(LWPolID skelegon) { return MuscleRow{skelegon, false, true, nullptr}; }

struct MuscleAssignment {
    GlobalFunc* global = nullptr;
    MeshEditOp* edit = nullptr;
    std::vector<LWPolID> skelegons;  // all skelegons of the primary layer, in scan order: the reference choices
    std::vector<MuscleRow> rows;     // one per selected skelegon, in scan order: the polygons that get tagged
    // The reference chooser's items, the skelegons' names and a null end: read
    // once per run, so each opening costs the same however many rows were set.
    std::vector<const char*> choices;
    // Set when the scan could not keep every skelegon; the run then tags nothing.
    bool outOfMemory = false;
};

// A skelegon's name, its PART text; null when it has none.
const char* skelegonName(const MeshEditOp& edit, LWPolID skelegon);

}  // namespace sinewrig
