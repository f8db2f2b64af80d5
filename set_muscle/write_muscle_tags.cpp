#include "set_muscle/write_muscle_tags.h"

#include "format/muscle_flags_text.h"
#include "format/skelegon_tags.h"

namespace sinewrig {

void writeMuscleTags(const MeshEditOp& edit, const MuscleRow& row) {
    edit.polTag(edit.state, row.skelegon, kColourTag, kMuscleColour);
    if (row.reference) {
        // A nameless reference cannot be found again by name, so it is not recorded;
        // an MTIP that an earlier run wrote stays as it was.
        if (const char* tip = skelegonName(edit, row.reference)) edit.polTag(edit.state, row.skelegon, kTipTag, tip);
    }
    const MuscleFlagsText flags = muscleFlagsText(muscleFlags(row.preserveVolume, row.afterIK));
    edit.polTag(edit.state, row.skelegon, kFlagsTag, flags.text);
}

}  // namespace sinewrig
