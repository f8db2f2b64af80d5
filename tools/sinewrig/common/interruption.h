// An interrupted run (SIGINT, SIGTERM) leaves none of its spools behind and
// no output half put in place. Every spool the tool makes is noted here while
// it exists; the handler removes the noted files and exits with 128 plus the
// signal's number. The notes live in fixed storage, so that the handler does
// only what is safe in a signal handler.
#pragma once

#include <string>

namespace sinewrig_tool {

// Installs the handler for SIGINT and SIGTERM. Only the program does: a
// test or benchmark that runs the tool in its own process keeps its own.
void removeSpoolsWhenInterrupted();

// `path`, just made, is removed if the run is interrupted; false when there
// is no room left to note it (a path longer than the system's longest).
bool noteSpool(const std::string& path);
// `path` was removed or put in place: an interruption leaves it be.
void forgetSpool(const std::string& path);

// While one lives, an interruption waits until it goes, so that a run's
// outputs are put in place together or not at all; the run then ends as an
// interruption would have ended it.
class InterruptionsHeld {
public:
    InterruptionsHeld();
    ~InterruptionsHeld();
    InterruptionsHeld(const InterruptionsHeld&) = delete;
    InterruptionsHeld& operator=(const InterruptionsHeld&) = delete;
};

}  // namespace sinewrig_tool
