#include "host/process/services.h"

namespace host {

void Services::add(const std::string& name, void* record) { records_[name] = record; }

void Services::remove(const std::string& name) { records_.erase(name); }

void* Services::lookup(const char* name) const {
    if (!name) return nullptr;
    auto found = records_.find(name);
    return found == records_.end() ? nullptr : found->second;
}

void* Services::globalLookup(const char* serviceName, int) {
    Services* services = active();
    if (!services) return nullptr;
    services->lookups.push_back(serviceName ? serviceName : "(null)");
    return services->lookup(serviceName);
}

}  // namespace host
