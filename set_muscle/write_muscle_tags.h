// Writing the skelegon muscle tags of one SetMuscle row.
#pragma once

#include "abi/lw_host.h"
#include "set_muscle/muscle_assignment.h"

namespace sinewrig {

// COLR and MFLG always, MTIP when the row has a reference that has a name.
void writeMuscleTags(const MeshEditOp& edit, const MuscleRow& row);

}  // namespace sinewrig
