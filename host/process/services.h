// The host's global-lookup function over a table of named service records.
// GlobalFunc carries no context, so one table is active at a time: the one of
// the stand-in host the test or tool is driving.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "host/process/activatable.h"
#include "abi/lw_host.h"

namespace host {

class Services : public Activatable<Services> {
public:
    void add(const std::string& name, void* record);
    // The service is then missing: lookups give null.
    void remove(const std::string& name);
    void* lookup(const char* name) const;

    // Names asked for, in order, as the module asked for them.
    std::vector<std::string> lookups;

    // The GlobalFunc handed to the module: looks up in the active table.
    static void* globalLookup(const char* serviceName, int useMode);
    static GlobalFunc* global() { return &globalLookup; }

private:
    std::map<std::string, void*> records_;
};

}  // namespace host
