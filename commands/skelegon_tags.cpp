#include "commands/skelegon_tags.h"

#include <cstdio>

namespace sinewrig {

void writeMuscleTags(const MeshEditOp& edit, const MuscleRow& row) {
    edit.polTag(edit.state, row.skelegon, kColourTag, kMuscleColour);
    if (row.reference) {
        // A nameless reference cannot be found again by name, so it is not recorded;
        // an MTIP that an earlier run wrote stays as it was.
        if (const char* tip = skelegonName(edit, row.reference)) edit.polTag(edit.state, row.skelegon, kTipTag, tip);
    }
    char flags[16];
    std::snprintf(flags, sizeof flags, "%d", muscleTagFlags(row));
    edit.polTag(edit.state, row.skelegon, kFlagsTag, flags);
}

}  // namespace sinewrig
