// Each step of `check` in a child process, as a plug-in validator runs a
// module: the step's report is relayed line by line as it is made, and a
// crash, a hang or any other early end is a FAIL naming the step and the last
// thing it reported. Besides its report, a step sends the checker messages.
// (Windows has no fork: there the step runs in the checker's own process.)
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "tools/sinewrig/check/report.h"

namespace sinewrig_tool {

// The module file cannot be loaded as a library, and why.
struct ModuleUnloadable {
    std::string reason;
};

// A row of the server table that the host can use.
struct ServerListed {
    std::string className, name;
};

using StepMessage = std::variant<ModuleUnloadable, ServerListed>;

// What a step sends, in order.
class StepMessages {
public:
    void send(StepMessage message) { sent_.push_back(std::move(message)); }
    const std::vector<StepMessage>& sent() const { return sent_; }

private:
    std::vector<StepMessage> sent_;
};

using Step = std::function<void(CheckReport& report, StepMessages& messages)>;

struct StepEnd {
    bool finished = false;  // the step ran to its end
    std::vector<StepMessage> messages;
};

// How long a step may take before it counts as hung: SINEWRIG_CHECK_SECONDS,
// or a minute.
StepEnd runStep(CheckReport& report, const std::string& name, const Step& step);

}  // namespace sinewrig_tool
