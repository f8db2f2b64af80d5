// The host services a server looked up, and what its activation result
// means when it asked for one the stand-in does not offer.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/process/services.h"
#include "tools/sinewrig/check/report.h"

namespace sinewrig_tool {

// The names looked up since `from`, each once, in the order first asked for.
std::vector<std::string> servicesLookedUp(const host::Services& services, std::size_t from);

// PASS for AFUNC_OK. AFUNC_BADGLOBAL after asking for a service the stand-in
// does not offer is the server's right answer in this host: INFO "not
// exercised", naming the services. Anything else is a FAIL. True only for AFUNC_OK.
bool reportActivation(CheckReport& report, const host::Services& services, std::size_t lookupsBefore, int result,
                      const std::string& what);

// INFO listing every service looked up, those the stand-in lacks marked.
void reportLookups(CheckReport& report, const std::vector<std::pair<const host::Services*, std::size_t>>& since);

}  // namespace sinewrig_tool
