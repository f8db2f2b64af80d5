// The server table the host reads through the module descriptor, ended by an
// all-zero row.
#pragma once

#include "abi/lw_host.h"

namespace sinewrig {

extern ServerRecord serverTable[];

}  // namespace sinewrig
