#include "panels/muscle_assignment.h"

namespace sinewrig {

const char* skelegonName(const MeshEditOp& edit, LWPolID skelegon) {
    return edit.polyTag(edit.state, skelegon, LWPTAG_PART);
}

}  // namespace sinewrig
