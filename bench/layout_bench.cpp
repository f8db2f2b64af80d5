// Whole-rig work through the stand-in Layout and the built Sinewrig.p:
// ReadMuscle on an object of n tagged skelegons and their bones, with the host
// calls it makes counted (the run includes what the host does for the
// commands: applying the handler creates an instance per muscle bone), and a
// whole frame of n muscle bones evaluated.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench/loaded_module.h"
#include "host/layout/layout.h"
#include "host/layout/motion_handlers.h"
#include "host/lws/layout_scene.h"
#include "host/lws/load_scene.h"
#include "host/modeler/mesh_object.h"
#include "tests/muscle_scene_data.h"

namespace {

const host::ModuleFile& module() { return loadedModule(); }

// n skelegons side by side along X, each a muscle reaching for the next one.
std::shared_ptr<const host::ObjectMesh> taggedSkelegons(int n) {
    host::MeshObject mesh;
    for (int i = 0; i < n; ++i) {
        const double pivot[3] = {0.1 * i, 0, 0}, tip[3] = {0.1 * i, 0, 1};
        LWPolID skelegon = mesh.addSkelegon(0, ("muscle " + std::to_string(i)).c_str(), false, pivot, tip);
        auto& tags = mesh.polygon(skelegon)->tags;
        tags[LWID_('M', 'F', 'L', 'G')] = "3";
        tags[LWID_('C', 'O', 'L', 'R')] = "DkRed";
        tags[LWID_('M', 'T', 'I', 'P')] = "muscle " + std::to_string((i + 1) % n);
    }
    return host::ObjectMesh::fromLayer(mesh.primary());
}

// With `counted` the host keeps its call log, whose records cost time of their own.
void readMuscle(benchmark::State& state, bool counted) {
    const int skelegons = int(state.range(0));
    const auto mesh = taggedSkelegons(skelegons);
    std::map<std::string, double> calls;
    for (auto _ : state) {
        state.PauseTiming();
        auto layout = std::make_unique<host::Layout>();
        auto handlers = std::make_unique<host::MotionHandlers>(*layout, module());
        LWItemID object = layout->addObject("Body", mesh);
        layout->convertSkelegons(object);
        layout->select({object});
        layout->log.enabled = counted;
        state.ResumeTiming();
        module().activate("LayoutGeneric", "ReadMuscle", 2, host::Services::global(), layout->generic());
        state.PauseTiming();
        if (counted) {
            calls.clear();
            for (const host::HostCall& call : layout->log.calls) calls[call.function] += 1;
            calls["all"] = double(layout->log.calls.size());
        }
        if (handlers->instances().size() != std::size_t(skelegons)) state.SkipWithError("not every bone became a muscle");
        handlers.reset();
        layout.reset();
        state.ResumeTiming();
    }
    for (const auto& [function, count] : calls) state.counters[function] = count;
}
BENCHMARK_CAPTURE(readMuscle, counted, true)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readMuscle, uncounted, false)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// One evaluation of a time for every muscle bone of the rig, as the host
// makes it for a frame: handler flags, parent-first order, evaluate for each.
void wholeFrame(benchmark::State& state) {
    const int muscles = int(state.range(0));
    host::Layout layout;
    host::MotionHandlers handlers(layout, module());
    LWItemID object = layout.addObject("Body", taggedSkelegons(muscles));
    std::vector<LWItemID> bones = layout.convertSkelegons(object);
    layout.select({object});
    module().activate("LayoutGeneric", "ReadMuscle", 2, host::Services::global(), layout.generic());
    // The rest bindings run at the first evaluation; a swaying last bone gives every frame new work.
    const double swayed[3] = {0.3, 0.2, 0.0};
    layout.scene.setKey(bones.back(), LWIP_ROTATION, 1.0, swayed);
    handlers.evaluate(0.0);
    layout.log.enabled = false;
    double time = 0;
    for (auto _ : state) handlers.evaluate(time += 1.0 / 30);
    state.counters["muscles"] = double(handlers.instances().size());
}
BENCHMARK(wholeFrame)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

host::SceneData muscleData(LWItemID bone, LWItemID reference) { return muscleSceneData(bone, reference, 1, 1); }

// A scene file (LWSC) of n muscle bones, each reaching for a target bone of its own.
std::string savedScene(int muscles) {
    const std::string path = "sinewrig_bench_scene_" + std::to_string(muscles) + ".lws";
    host::Layout layout;
    host::MotionHandlers handlers(layout, module());
    LWItemID body = layout.scene.addItem(LWI_OBJECT, "body");
    for (int i = 0; i < muscles; ++i) {
        LWItemID bone = layout.scene.addItem(LWI_BONE, "muscle " + std::to_string(i), body);
        LWItemID target = layout.scene.addItem(LWI_BONE, "target " + std::to_string(i), body);
        const double position[3] = {0.01 * i, 1, 0};
        layout.scene.setValue(target, LWIP_POSITION, position);
        handlers.load(handlers.apply(bone), muscleData(bone, target));
    }
    std::string error;
    std::ofstream file(path, std::ios::binary);
    if (!host::lws::writeLayoutScene(layout, handlers, {}, {}, file, error)) std::fprintf(stderr, "%s\n", error.c_str());
    return path;
}

// The whole load of a scene file into a fresh Layout: reading the file,
// making the items, and the module's create and load for every instance.
void loadScene(benchmark::State& state) {
    const std::string path = savedScene(int(state.range(0)));
    for (auto _ : state) {
        auto layout = std::make_unique<host::Layout>();
        auto handlers = std::make_unique<host::MotionHandlers>(*layout, module());
        std::string error;
        host::lws::SceneText scene;
        if (!host::lws::readSceneFile(path, scene, error) || !host::lws::loadScene(scene, *layout, *handlers, error))
            state.SkipWithError(error.c_str());
        state.PauseTiming();
        handlers.reset();
        layout.reset();
        state.ResumeTiming();
    }
    std::remove(path.c_str());
}
BENCHMARK(loadScene)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The module's share of that load alone: only its create and load calls are
// timed, over items and scene data the host has already read.
void loadSceneModuleShare(benchmark::State& state) {
    const int muscles = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto layout = std::make_unique<host::Layout>();
        auto handlers = std::make_unique<host::MotionHandlers>(*layout, module());
        LWItemID body = layout->scene.addItem(LWI_OBJECT, "body");
        std::vector<std::pair<LWItemID, host::SceneData>> saved;
        for (int i = 0; i < muscles; ++i) {
            LWItemID bone = layout->scene.addItem(LWI_BONE, "muscle", body);
            saved.emplace_back(bone, muscleData(bone, layout->scene.addItem(LWI_BONE, "target", body)));
        }
        layout->log.enabled = false;
        handlers->activate(4);
        const LWInstanceFuncs& inst = *handlers->table().inst;
        std::vector<std::unique_ptr<host::LoadState>> states;
        for (const auto& [bone, data] : saved) states.push_back(std::make_unique<host::LoadState>(data));
        std::vector<LWInstance> made(saved.size());
        state.ResumeTiming();
        for (std::size_t i = 0; i < saved.size(); ++i) {
            LWError none = nullptr;
            made[i] = inst.create(inst.priv, saved[i].first, &none);
            inst.load(made[i], states[i]->record());
        }
        state.PauseTiming();
        for (LWInstance instance : made) inst.destroy(instance);
        handlers.reset();
        layout.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(loadSceneModuleShare)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
