// What the module asked the host, in order, so tests can check query orders.
#pragma once

#include <string>
#include <vector>

#include "abi/lw_host.h"

namespace host {

struct HostCall {
    std::string function;  // the record member called, e.g. "param", "parent"
    LWItemID item = nullptr;
    int param = 0;  // LWIP_* for param and getParam/setParam
    double time = 0.0;
    std::string text;  // a name passed, e.g. the block name of find and create
};

// Keeps the first kMostCalls since it was last cleared and counts the rest,
// so a long session's log does not grow without bound.
struct CallLog {
    static constexpr std::size_t kMostCalls = 1 << 18;

    bool enabled = true;
    std::vector<HostCall> calls;
    std::size_t dropped = 0;  // calls made after the log was full

    void record(const char* function, LWItemID item, int param = 0, double time = 0.0, const char* text = "") {
        if (!enabled) return;
        if (calls.size() < kMostCalls)
            calls.push_back(HostCall{function, item, param, time, text});
        else
            ++dropped;
    }
    void clear() {
        calls.clear();
        dropped = 0;
    }
};

}  // namespace host
