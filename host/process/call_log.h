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

struct CallLog {
    bool enabled = true;
    std::vector<HostCall> calls;

    void record(const char* function, LWItemID item, int param = 0, double time = 0.0, const char* text = "") {
        if (enabled) calls.push_back(HostCall{function, item, param, time, text});
    }
    void clear() { calls.clear(); }
};

}  // namespace host
