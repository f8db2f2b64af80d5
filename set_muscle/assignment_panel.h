// The assignment panel of SetMuscle: a four-column list of the rows in which
// one click sets a row's reference skelegon, preserve volume or after IK.
#pragma once

#include "abi/lw_host.h"
#include "set_muscle/muscle_assignment.h"

namespace sinewrig {

// True when the artist confirmed with OK; false on Cancel or without a panel.
bool runAssignmentPanel(MuscleAssignment& assignment, GlobalFunc* global);

// The list's callbacks; `assignment` is the list's user data, null until it is set.
int rowCount(void* assignment);
char* cellText(void* assignment, int row, int column);  // row -1: titles; null for no cell
int columnWidth(void* assignment, int column);           // 0 ends the columns
void onListClick(LWControlID control, void* assignment);

}  // namespace sinewrig
