// `sinewrig run` on the arm rig for 10,000 frames, in-process, with its output
// kept in memory: the whole road, both evaluation passes and the round trip.
#include <benchmark/benchmark.h>

#include <sstream>

#include "tools/sinewrig/cli.h"

namespace {

void runArm(benchmark::State& state) {
    const std::string frames = "0:" + std::to_string(state.range(0) - 1);
    for (auto _ : state) {
        std::ostringstream out, err;
        const int status = sinewrig_tool::runCommandLine(
            {"run", std::string(SINEWRIG_SOURCE_DIR) + "/examples/arm.json", "--plugin", SINEWRIG_MODULE_FILE,
             "--frames", frames, "--quiet"},
            {out, err, false});
        if (status != 0) state.SkipWithError(err.str().c_str());
        benchmark::DoNotOptimize(out.str().size());
    }
}
BENCHMARK(runArm)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
