// Writing the skelegon muscle tags of one SetMuscle row.
#pragma once

#include "panels/muscle_assignment.h"
#include "abi/lw_host.h"

namespace sinewrig {

// COLR and MFLG always, MTIP when the row has a reference that has a name.
void writeMuscleTags(const MeshEditOp& edit, const MuscleRow& row);

}  // namespace sinewrig
