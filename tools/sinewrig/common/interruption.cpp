#include "tools/sinewrig/common/interruption.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace sinewrig_tool {

namespace {

// A run makes a handful of spools at once (its outputs, the channels, the
// scene); the rest is room to spare.
constexpr int kSpools = 64;
constexpr std::size_t kLongestPath = 4096;

char spoolPaths[kSpools][kLongestPath];
volatile std::sig_atomic_t spoolNoted[kSpools];
volatile std::sig_atomic_t heldCount = 0;
volatile std::sig_atomic_t pendingSignal = 0;

void removeFile(const char* path) {
#if defined(_WIN32)
    std::remove(path);  // the handler runs on a thread of its own there
#else
    unlink(path);
#endif
}

[[noreturn]] void removeNotedAndExit(int signal) {
    for (int slot = 0; slot < kSpools; ++slot)
        if (spoolNoted[slot]) removeFile(spoolPaths[slot]);
    std::_Exit(128 + signal);
}

extern "C" void onInterruption(int signal) {
    if (heldCount > 0) {
        pendingSignal = signal;
        return;
    }
    removeNotedAndExit(signal);
}

}  // namespace

void removeSpoolsWhenInterrupted() {
    std::signal(SIGINT, onInterruption);
    std::signal(SIGTERM, onInterruption);
}

bool noteSpool(const std::string& path) {
    if (path.empty() || path.size() >= kLongestPath) return false;
    for (int slot = 0; slot < kSpools; ++slot) {
        if (spoolNoted[slot]) continue;
        std::memcpy(spoolPaths[slot], path.c_str(), path.size() + 1);
        // The path is whole before the handler can see the slot as noted.
        std::atomic_signal_fence(std::memory_order_seq_cst);
        spoolNoted[slot] = 1;
        return true;
    }
    return false;
}

void forgetSpool(const std::string& path) {
    for (int slot = 0; slot < kSpools; ++slot)
        if (spoolNoted[slot] && path == spoolPaths[slot]) {
            spoolNoted[slot] = 0;
            return;
        }
}

InterruptionsHeld::InterruptionsHeld() { heldCount = heldCount + 1; }

InterruptionsHeld::~InterruptionsHeld() {
    heldCount = heldCount - 1;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    if (heldCount == 0 && pendingSignal != 0) removeNotedAndExit(pendingSignal);
}

}  // namespace sinewrig_tool
