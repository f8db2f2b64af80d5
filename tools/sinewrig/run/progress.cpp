#include "tools/sinewrig/run/progress.h"

#include <chrono>
#include <memory>
#include <string>

namespace sinewrig_tool {

Progress progressOn(Console console) {
    using Clock = std::chrono::steady_clock;
    struct State {
        std::string phase;
        Clock::time_point shown{};
    };
    auto state = std::make_shared<State>();
    return [console, state](const char* phase, long done, long total) {
        const Clock::time_point now = Clock::now();
        const bool newPhase = state->phase != phase;
        const auto every = console.terminal ? std::chrono::milliseconds(100) : std::chrono::milliseconds(3000);
        if (!newPhase && now - state->shown < every && done != total) return;
        if (!newPhase && done == total && !console.terminal) return;
        state->phase = phase;
        state->shown = now;
        std::string line = std::string(phase) + (total > 1 ? ": " + std::to_string(done) + " of " + std::to_string(total) : "");
        if (console.terminal)
            console.err << "\r\033[K" << line << (done == total ? "\r\033[K" : "") << std::flush;
        else
            console.err << "sinewrig run: " << line << "\n" << std::flush;
    };
}

}  // namespace sinewrig_tool
