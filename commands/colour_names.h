// The host's item colours by name, as COLR tags hold them; the index is the
// number the host's "ItemColor" command takes.
#pragma once

namespace sinewrig {

// The colour number of a name, matched exactly and case-sensitively; -1 for
// null or a name not in the table.
int colourIndexOf(const char* name);

}  // namespace sinewrig
