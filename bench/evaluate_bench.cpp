// Nanoseconds per evaluate of one muscle bone through the module's handler
// table, beside the same host calls made without the module, for chains of
// several depths turned about all three axes or about their heading alone;
// and the same muscle with every control in use, or aimed by the shortest turn.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench/loaded_module.h"
#include "host/layout/layout.h"
#include "host/layout/motion_handlers.h"
#include "tests/muscle_scene_data.h"

namespace {

const host::ModuleFile& module() { return loadedModule(); }

// Every level turned about all three axes, or, as most of a real rig's links
// are, about its heading alone.
enum class Turns { All, HeadingOnly };

LWItemID chain(host::Layout& layout, LWItemType type, int depth, Turns turns) {
    LWItemID item = nullptr;
    const bool all = turns == Turns::All;
    for (int level = 0; level <= depth; ++level) {
        item = layout.scene.addItem(type, "link", item);
        const double position[3] = {0.1 * level, 0.2, 0.5};
        const double rotation[3] = {0.05, all ? -0.03 : 0.0, all ? 0.02 : 0.0};
        layout.scene.setValue(item, LWIP_POSITION, position);
        layout.scene.setValue(item, LWIP_ROTATION, rotation);
    }
    const double later[3] = {0.4, 0.6, 1.1};
    layout.scene.setKey(item, LWIP_POSITION, 1.0, later);
    return item;
}

// Plain: the six values alone. Every control in use: volume on the Y axis
// only, bulge 2.5, stretch held between 0.8 and 1.2, influence 0.7. Shortest
// turn: the aim alone away from its default.
enum class Controls { Plain, Every, ShortestTurn };

host::SceneData muscleData(LWItemID bone, LWItemID reference, Controls controls) {
    const host::SceneData data = muscleSceneData(bone, reference, 1, 1);
    if (controls == Controls::Every)
        return withControls(data, {.bulge = 2.5f, .volumeAxes = 2, .stretchMin = 0.8f, .stretchMax = 1.2f,
                                   .influence = 0.7f});
    if (controls == Controls::ShortestTurn) return withControls(data, {.aim = 1});
    return data;
}

// A muscle bone under `boneDepth` parents aiming at a reference under
// `referenceDepth` parents, bound and ready to evaluate at time 0.5. As in a
// host's frame, every evaluate starts from the bone's own motion: `restart`
// puts back what the previous one's setParam replaced (both loops pay it).
struct EvaluationScene {
    host::Layout layout;
    host::MotionHandlers handlers{layout, module()};
    LWItemID bone, reference;
    LWInstance instance;
    LWItemMotionAccess access{};
    host::ItemMotion* motion = nullptr;
    host::ItemMotion ownMotion;

    void restart() { *motion = ownMotion; }

    EvaluationScene(int boneDepth, int referenceDepth, Turns turns, Controls controls = Controls::Plain) {
        bone = chain(layout, LWI_BONE, boneDepth, turns);
        reference = chain(layout, LWI_OBJECT, referenceDepth, turns);
        instance = handlers.apply(bone);
        handlers.load(instance, muscleData(bone, reference, controls));
        layout.log.enabled = false;
        handlers.evaluate(0.5);
        layout.motion.start(0.5);
        motion = layout.motion.enter(layout.scene, bone);
        ownMotion = *motion;
        access = layout.motion.access();
    }
};

template <Turns turns, Controls controls = Controls::Plain>
void evaluate(benchmark::State& state) {
    EvaluationScene scene(int(state.range(0)), int(state.range(1)), turns, controls);
    const LWItemMotionHandler& table = scene.handlers.table();
    for (auto _ : state) {
        scene.restart();
        table.evaluate(scene.instance, &scene.access);
    }
}

// What evaluate asks of the host, in the same order, without the module.
template <Turns turns>
void hostCallsAlone(benchmark::State& state) {
    EvaluationScene scene(int(state.range(0)), int(state.range(1)), turns);
    const auto* info =
        static_cast<const LWItemInfo*>(host::Services::globalLookup("LW Item Info 3", GFUSE_TRANSIENT));
    const LWItemMotionAccess& access = scene.access;
    double v[3];
    for (auto _ : state) {
        scene.restart();
        for (LWItemID item = scene.reference; item; item = info->parent(item)) {
            info->param(item, LWIP_ROTATION, access.time, v);
            info->param(item, LWIP_POSITION, access.time, v);
        }
        for (LWItemID item = scene.bone; item; item = info->parent(item)) {
            info->param(item, LWIP_POSITION, access.time, v);
            info->param(item, LWIP_ROTATION, access.time, v);
        }
        access.getParam(LWIP_ROTATION, access.time, v);
        access.getParam(LWIP_SCALING, access.time, v);
        access.setParam(LWIP_ROTATION, v);
        access.setParam(LWIP_SCALING, v);
        benchmark::DoNotOptimize(v);
    }
}

constexpr int kDepths[] = {0, 4, 16};

void depths(benchmark::internal::Benchmark* b) {
    for (int boneDepth : kDepths)
        for (int referenceDepth : kDepths) b->Args({boneDepth, referenceDepth});
    b->ArgNames({"bone", "reference"});
}

BENCHMARK(evaluate<Turns::All>)->Name("evaluate")->Apply(depths);
BENCHMARK(hostCallsAlone<Turns::All>)->Name("hostCallsAlone")->Apply(depths);
BENCHMARK(evaluate<Turns::HeadingOnly>)->Name("evaluateHeadingOnly")->Apply(depths);
BENCHMARK(evaluate<Turns::All, Controls::Every>)->Name("evaluateWithControls")->Apply(depths);
BENCHMARK(evaluate<Turns::HeadingOnly, Controls::Every>)->Name("evaluateWithControlsHeadingOnly")->Apply(depths);
BENCHMARK(hostCallsAlone<Turns::HeadingOnly>)->Name("hostCallsAloneHeadingOnly")->Apply(depths);
BENCHMARK(evaluate<Turns::All, Controls::ShortestTurn>)->Name("evaluateShortestTurn")->Apply(depths);
BENCHMARK(evaluate<Turns::HeadingOnly, Controls::ShortestTurn>)->Name("evaluateShortestTurnHeadingOnly")->Apply(depths);


// Collects CPU ns per iteration (the median when repeated), in run order, so the
// module's share can be printed beside the host's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_None) {}
    std::vector<std::pair<std::string, double>> nanoseconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (single || median) nanoseconds.emplace_back(run.run_name.str(), run.GetAdjustedCPUTime());
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double find(const std::string& name) const {
        for (const auto& [run, ns] : nanoseconds)
            if (run == name) return ns;
        return 0.0;
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-13s %-24s %12s %12s %8s %13s %14s %8s %14s %10s\n", "turned about", "depth bone/reference",
                "evaluate ns", "host ns", "ratio", "module share", "controls ns", "ratio", "shortest ns", "/evaluate");
    // In the order of the table, whatever order the runs were interleaved in.
    for (const char* variant : {"", "HeadingOnly"})
        for (int boneDepth : kDepths)
            for (int referenceDepth : kDepths) {
                const std::string depth =
                    "bone:" + std::to_string(boneDepth) + "/reference:" + std::to_string(referenceDepth);
                const double ns = reporter.find(std::string("evaluate") + variant + "/" + depth);
                const double host = reporter.find(std::string("hostCallsAlone") + variant + "/" + depth);
                const double controls = reporter.find(std::string("evaluateWithControls") + variant + "/" + depth);
                const double shortest = reporter.find(std::string("evaluateShortestTurn") + variant + "/" + depth);
                if (ns <= 0.0 || host <= 0.0) continue;
                std::printf("%-13s %-24s %12.1f %12.1f %8.2f %12.0f%% %14.1f %8.2f %14.1f %10.2f\n",
                            *variant ? "H only" : "H, P and B", depth.c_str(), ns, host, ns / host,
                            100.0 * (ns - host) / ns, controls, controls / host, shortest, shortest / ns);
            }
    benchmark::Shutdown();
    return 0;
}
