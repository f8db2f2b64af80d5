// The skelegon muscle tags: what SetMuscle writes on a skelegon in Modeler and
// ReadMuscle reads back from the bone's object in Layout.
#pragma once

#include "panels/muscle_assignment.h"
#include "abi/lw_host.h"

namespace sinewrig {

constexpr LWID kColourTag = LWID_('C', 'O', 'L', 'R');
constexpr LWID kTipTag = LWID_('M', 'T', 'I', 'P');    // the reference skelegon's PART text
constexpr LWID kFlagsTag = LWID_('M', 'F', 'L', 'G');  // muscleTagFlags in decimal
constexpr const char* kMuscleColour = "DkRed";

constexpr int kPreserveVolumeFlag = 1;
constexpr int kAfterIKFlag = 2;

// The MFLG bits of a row's two options.
inline int muscleTagFlags(const MuscleRow& row) {
    return (row.preserveVolume ? kPreserveVolumeFlag : 0) | (row.afterIK ? kAfterIKFlag : 0);
}

// COLR and MFLG always, MTIP when the row has a reference that has a name.
void writeMuscleTags(const MeshEditOp& edit, const MuscleRow& row);

}  // namespace sinewrig
