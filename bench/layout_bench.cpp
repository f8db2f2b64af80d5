// Whole-rig work through the stand-in Layout and the built Sinewrig.p:
// ReadMuscle on an object of n tagged skelegons and their bones, with the host
// calls it makes counted (the run includes what the host does for the
// commands: applying the handler creates an instance per muscle bone), and a
// whole frame of n muscle bones evaluated.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "host/layout/layout.h"
#include "host/layout/motion_handlers.h"
#include "host/modeler/mesh_object.h"
#include "host/process/module_file.h"

namespace {

const host::ModuleFile& module() {
    static std::unique_ptr<host::ModuleFile> loaded = [] {
        std::string error;
        auto file = host::ModuleFile::load(SINEWRIG_MODULE_FILE, error);
        if (!file) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::exit(1);
        }
        return file;
    }();
    return *loaded;
}

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

void readMuscle(benchmark::State& state) {
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
        state.ResumeTiming();
        module().activate("LayoutGeneric", "ReadMuscle", 2, host::Services::global(), layout->generic());
        state.PauseTiming();
        calls.clear();
        for (const host::HostCall& call : layout->log.calls) calls[call.function] += 1;
        calls["all"] = double(layout->log.calls.size());
        if (handlers->instances().size() != std::size_t(skelegons)) state.SkipWithError("not every bone became a muscle");
        handlers.reset();
        layout.reset();
        state.ResumeTiming();
    }
    for (const auto& [function, count] : calls) state.counters[function] = count;
}
BENCHMARK(readMuscle)->Arg(1000)->Unit(benchmark::kMillisecond);

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
BENCHMARK(wholeFrame)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
