// The local record of "LayoutGeneric" servers: evaluate runs one Layout
// command string on the Layout; the other members do nothing here.
#pragma once

#include "abi/lw_host.h"

namespace host {

class Layout;

LWLayoutGeneric layoutGenericRecord(Layout& layout);

}  // namespace host
