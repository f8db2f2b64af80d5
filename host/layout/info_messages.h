// "Info Messages 2" of the stand-in Layout: what the module shows the
// artist, kept in Layout::messages.
#pragma once

#include "abi/lw_host.h"

namespace host {

// The service record; its functions answer from Layout::active().
LWMessageFuncs* infoMessagesRecord();

}  // namespace host
