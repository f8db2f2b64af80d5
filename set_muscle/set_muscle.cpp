#include "set_muscle/set_muscle.h"

#include "abi/host_names.h"
#include "set_muscle/assignment_panel.h"
#include "set_muscle/collect_skelegon.h"
#include "set_muscle/muscle_assignment.h"
#include "set_muscle/write_muscle_tags.h"

namespace sinewrig {

int SetMuscle(int version, GlobalFunc* global, void* local, void*) {
    if (version != kCommandSequenceVersion) return AFUNC_BADVERSION;
    auto* command = static_cast<LWModCommand*>(local);
    if (!command || !command->editBegin) return AFUNC_BADGLOBAL;

    MuscleAssignment assignment;
    MeshEditOp* edit = command->editBegin(0, 0, OPSEL_USER);
    if (!edit) return AFUNC_BADGLOBAL;

    edit->polyScan(edit->state, collectSkelegon, &assignment, OPLYR_PRIMARY);
    assignment.global = global;
    assignment.edit = edit;

    // Tags are written only for a complete, confirmed set of rows; the edit ends once on every path.
    if (!assignment.outOfMemory && runAssignmentPanel(assignment, global))
        for (const MuscleRow& row : assignment.rows) writeMuscleTags(*edit, row);
    edit->done(edit->state, EDERR_NONE, 0);
    return AFUNC_OK;
}

}  // namespace sinewrig
