#include "set_muscle/collect_skelegon.h"

#include <new>

#include "format/skelegon_tags.h"
#include "set_muscle/muscle_assignment.h"

namespace sinewrig {

EDError collectSkelegon(void* data, const EDPolygonInfo* polygon) {
    auto* assignment = static_cast<MuscleAssignment*>(data);
    if (!assignment || !polygon || polygon->type != kSkelegonType || assignment->outOfMemory) return EDERR_NONE;
    // The host's scan is between us and the command, so no exception may leave here.
    try {
        if (polygon->flags & EDDF_SELECT) assignment->rows.push_back(newMuscleRow(polygon->pol));
        assignment->skelegons.push_back(polygon->pol);
    } catch (const std::bad_alloc&) {
        assignment->outOfMemory = true;
    }
    return EDERR_NONE;
}

}  // namespace sinewrig
