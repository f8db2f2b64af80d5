#include "set_muscle/muscle_assignment.h"

#include "format/skelegon_tags.h"

namespace sinewrig {

const char* skelegonName(const MeshEditOp& edit, LWPolID skelegon) {
    return edit.polyTag(edit.state, skelegon, kPartTag);
}

}  // namespace sinewrig
