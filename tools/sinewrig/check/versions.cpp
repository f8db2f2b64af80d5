#include "tools/sinewrig/check/versions.h"

#include <climits>
#include <cstddef>
#include <cstring>
#include <vector>

#include "host/process/services.h"

namespace sinewrig_tool {

namespace {

// A record the module is handed, filled with one byte pattern, and guard
// bytes after it that catch a write past its end.
class PatternRecord {
public:
    PatternRecord(const char* name, std::size_t size) : name_(name), size_(size), bytes_(size + kGuard, kPattern) {}
    void* data() { return bytes_.data(); }
    void keep() { kept_ = bytes_; }  // what it must still hold

    // "" when it holds what was kept; else which bytes changed.
    std::string changes() const {
        std::string ranges;
        for (std::size_t i = 0; i < bytes_.size(); ++i) {
            if (bytes_[i] == kept_[i]) continue;
            std::size_t last = i;
            while (last + 1 < bytes_.size() && bytes_[last + 1] != kept_[last + 1]) ++last;
            if (!ranges.empty()) ranges += ", ";
            ranges += last == i ? std::to_string(i) : std::to_string(i) + ".." + std::to_string(last);
            if (last >= size_) ranges += " (past its end)";
            i = last;
        }
        return ranges.empty() ? "" : "changed bytes " + ranges + " of its " + name_;
    }

private:
    static constexpr std::size_t kGuard = 64;
    static constexpr unsigned char kPattern = 0xA5;
    const char* name_;
    std::size_t size_;
    std::vector<unsigned char> bytes_, kept_;
};

std::vector<int> versionsOtherThan(int hostVersion) {
    std::vector<int> versions;
    for (int version = 0; version <= 8; ++version)
        if (version != hostVersion) versions.push_back(version);
    for (int version : {-1, 100, INT_MIN, INT_MAX}) versions.push_back(version);
    return versions;
}

// What activating with `version` did wrong, "" when it refused and left everything alone.
std::string refusalFault(const ServerRecord& row, const ServerClass& known, void* serverData, int version) {
    PatternRecord local("local record", known.localSize);
    PatternRecord inst("instance function record", sizeof(LWInstanceFuncs));
    PatternRecord item("item function record", sizeof(LWItemFuncs));
    if (known.hostFunctionRecords) {
        void* pointers[2] = {inst.data(), item.data()};
        std::memcpy(static_cast<char*>(local.data()) + offsetof(LWItemMotionHandler, inst), &pointers[0],
                    sizeof(void*));
        std::memcpy(static_cast<char*>(local.data()) + offsetof(LWItemMotionHandler, item), &pointers[1],
                    sizeof(void*));
    }
    for (PatternRecord* record : {&local, &inst, &item}) record->keep();

    const int result = row.activate(version, host::Services::global(), local.data(), serverData);
    std::string fault;
    if (result != AFUNC_BADVERSION) fault = activationResult(result) + ", want AFUNC_BADVERSION (1)";
    for (PatternRecord* record : {&local, &inst, &item}) {
        const std::string changes = record->changes();
        if (!changes.empty()) fault += (fault.empty() ? "" : "; ") + changes;
    }
    return fault;
}

}  // namespace

void checkRefusedVersions(CheckReport& report, const ServerRecord& row, const ServerClass& known, void* serverData) {
    const std::vector<int> versions = versionsOtherThan(known.hostVersion);
    bool allRefused = true;
    for (int version : versions) {
        const std::string fault = refusalFault(row, known, serverData, version);
        if (fault.empty()) continue;
        allRefused = false;
        report.fail("version " + std::to_string(version) + ": " + fault);
    }
    if (!allRefused) return;
    std::string list;
    for (int version : versions) list += (list.empty() ? "" : " ") + std::to_string(version);
    report.pass("refuses versions " + list + " with AFUNC_BADVERSION and leaves its local record untouched");
}

}  // namespace sinewrig_tool
