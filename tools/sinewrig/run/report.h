// The report of a run, printed once its outputs are in place: what SetMuscle
// and ReadMuscle did, the muscles' spins, how near their tips came to their
// targets, the round trip, and the files written. Long lists show their
// first entries and a count.
#pragma once

#include <ostream>

#include "tools/sinewrig/road/road.h"
#include "tools/sinewrig/run/run.h"

namespace sinewrig_tool {

// SetMuscle's panel and tags, ReadMuscle's commands, the muscle bones.
void printRoad(std::ostream& out, const RoadResult& road);
// Each muscle's largest spin about its own length axis in one frame, and
// the muscles that spin enough to show.
void printSpins(std::ostream& out, const RoadResult& road);
// The farthest misses (of muscles free to reach their targets, and of those
// held back on purpose), the round trip, the files written.
void printOutcome(std::ostream& out, const RoadResult& road, const RunOptions& options);

}  // namespace sinewrig_tool
