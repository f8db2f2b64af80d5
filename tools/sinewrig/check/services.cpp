#include "tools/sinewrig/check/services.h"

#include <algorithm>

#include "tools/sinewrig/check/server_classes.h"

namespace sinewrig_tool {

namespace {

std::string namesOf(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + quotedText(name.c_str());
    return text;
}

}  // namespace

std::vector<std::string> servicesLookedUp(const host::Services& services, std::size_t from) {
    std::vector<std::string> names;
    for (std::size_t i = from; i < services.lookups.size(); ++i)
        if (std::find(names.begin(), names.end(), services.lookups[i]) == names.end()) names.push_back(services.lookups[i]);
    return names;
}

bool reportActivation(CheckReport& report, const host::Services& services, std::size_t lookupsBefore, int result,
                      const std::string& what) {
    std::vector<std::string> missing;
    for (const std::string& name : servicesLookedUp(services, lookupsBefore))
        if (!services.lookup(name.c_str())) missing.push_back(name);
    if (result == AFUNC_BADGLOBAL && !missing.empty()) {
        report.info(what + ": " + activationResult(result) + " after asking for " + namesOf(missing) +
                    ", which the stand-in does not offer: not exercised");
        return false;
    }
    report.check(result == AFUNC_OK, what + ": " + activationResult(result));
    return result == AFUNC_OK;
}

void reportLookups(CheckReport& report, const std::vector<std::pair<const host::Services*, std::size_t>>& since) {
    std::vector<std::string> all;
    for (const auto& [services, from] : since)
        for (const std::string& name : servicesLookedUp(*services, from)) {
            const std::string shown = quotedText(name.c_str()) + (services->lookup(name.c_str()) ? "" : " (not offered)");
            if (std::find(all.begin(), all.end(), shown) == all.end()) all.push_back(shown);
        }
    std::string text;
    for (const std::string& name : all) text += (text.empty() ? "" : ", ") + name;
    report.info("services looked up: " + (text.empty() ? std::string("none") : text));
}

}  // namespace sinewrig_tool
