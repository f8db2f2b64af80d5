// `sinewrig run` over the whole road of a generated rig of 1,000 and 10,000
// muscles for 100 frames: SetMuscle's panel with a reference, preserve
// volume and after IK chosen row by row, the bones, ReadMuscle, the frames,
// the scene saved, reloaded and evaluated again, the CSV streamed to a file;
// and the same with every muscle control set, each muscle's options panel
// opened in Layout. Each run is a child process, so that its peak memory is
// its own.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "tools/sinewrig/cli.h"

namespace {

// Every control away from its default, varied from muscle to muscle.
std::string everyControlOf(int i) {
    static const char* const axes[] = {"xy", "x", "y"};
    std::ostringstream controls;
    controls << ", \"volumeAxes\": \"" << axes[i % 3] << "\", \"bulge\": " << 0.5 + (i % 4) * 0.25
             << ", \"stretchMin\": 0.8, \"stretchMax\": 1.25, \"influence\": " << 0.5 + (i % 5) * 0.1
             << ", \"aim\": \"" << (i % 2 ? "shortestTurn" : "headingPitch") << "\"";
    return controls.str();
}

// Per muscle a bone it reaches for, keyed to turn over the frames, and the
// muscle's skelegon beside it; every muscle has options chosen in the panel,
// and with `everyControl` every muscle control set.
std::string rigOf(int muscles, bool everyControl) {
    std::ostringstream rig;
    rig << "{\"object\": \"Bench\", \"fps\": 30, \"frames\": {\"start\": 0, \"end\": 99}, \"skelegons\": [";
    for (int i = 0; i < muscles; ++i)
        rig << (i ? ", " : "") << "{\"name\": \"Bone" << i << "\", \"pivot\": [" << i << ", 0, 0], \"tip\": [" << i
            << ", 1, 0]}, {\"name\": \"Muscle" << i << "\", \"pivot\": [" << i << ".1, 0.1, 0], \"tip\": [" << i
            << ".1, 1.2, 0.1], \"selected\": true}";
    rig << "], \"muscles\": [";
    for (int i = 0; i < muscles; ++i)
        rig << (i ? ", " : "") << "{\"skelegon\": \"Muscle" << i << "\", \"reference\": \"Bone" << i
            << "\", \"preserveVolume\": " << (i % 2 == 0 ? "true" : "false") << ", \"afterIK\": " << (i % 3 ? "true" : "false")
            << (everyControl ? everyControlOf(i) : "") << "}";
    rig << "], \"keys\": [";
    for (int i = 0; i < muscles; ++i)
        rig << (i ? ", " : "") << "{\"bone\": \"Bone" << i << "\", \"frame\": 0, \"rotation\": [0, 0, 0]}, {\"bone\": \"Bone" << i
            << "\", \"frame\": 99, \"rotation\": [0, " << -(i % 90) << ", 0]}";
    rig << "]}\n";
    return rig.str();
}

void wholeRoadOf(benchmark::State& state, bool everyControl) {
    const int muscles = static_cast<int>(state.range(0));
    const std::string folder = "/tmp/sinewrig-road-bench-" + std::to_string(getpid());
    const std::string rig = folder + "-" + std::to_string(muscles) + ".json", csv = folder + ".csv";
    std::ofstream(rig) << rigOf(muscles, everyControl);
    long peakKilobytes = 0;
    double cpuSeconds = 0;
    for (auto _ : state) {
        const pid_t child = fork();
        if (child == 0) {
            std::ostringstream out, err;
            const int status = sinewrig_tool::runCommandLine(
                {"run", rig, "--plugin", SINEWRIG_MODULE_FILE, "--quiet", "--csv", csv}, {out, err, false});
            if (status != 0) std::fputs(err.str().c_str(), stderr);
            _exit(status);
        }
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("the run failed");
        peakKilobytes = std::max(peakKilobytes, usage.ru_maxrss);
        // The child's own CPU, less swayed than wall time by other work on the machine.
        cpuSeconds += double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                      double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    state.counters["peak_MB"] = double(peakKilobytes) / 1024.0;
    state.counters["child_cpu_s"] = benchmark::Counter(cpuSeconds, benchmark::Counter::kAvgIterations);
    state.counters["muscles"] = muscles;
    std::remove(rig.c_str());
    std::remove(csv.c_str());
}
void wholeRoad(benchmark::State& state) { wholeRoadOf(state, false); }
void wholeRoadEveryControl(benchmark::State& state) { wholeRoadOf(state, true); }
BENCHMARK(wholeRoad)->Arg(1000)->Arg(10000)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(wholeRoadEveryControl)->Arg(1000)->Arg(10000)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
