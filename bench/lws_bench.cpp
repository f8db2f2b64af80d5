// Scene files (LWSC) of 1,000 and 10,000 muscles, as Layout saves them: per
// muscle a bone with the Sinewrig block and a reference bone keyed over 100
// frames, each with its nine envelopes, in objects of 1,000 pairs. Reading
// (from memory and from the file, against reading the file's bytes alone),
// loading into the stand-in with the module, writing back with the module's
// saves, and baking every muscle over 100 frames. The whole road of 10,000
// muscles over 100 frames (read, run, bake, write) runs step by step in child
// processes so that each step's peak memory is its own.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <streambuf>

#include "abi/item_number.h"
#include "bench/loaded_module.h"
#include "host/lws/load_scene.h"
#include "host/lws/write_scene.h"

namespace {

constexpr int kPairsPerObject = 1000;
constexpr int kFrames = 100;

std::string envelope(const std::string& keys, int count) {
    return "{ Envelope\n  " + std::to_string(count) + "\n" + keys + "  Behaviors 1 1\n}\n";
}

std::string boneMotion(double x, bool keyed) {
    std::string text = "BoneMotion\nNumChannels 9\n";
    const double still[9] = {x, 0, 0, 0, 0, 0, 1, 1, 1};
    for (int c = 0; c < 9; ++c) {
        text += "Channel " + std::to_string(c) + "\n";
        if (keyed && c == 4)
            text += envelope("  Key 0 0 0 0 0 0 0 0 0\n  Key -1.2 3.3 0 0 0 0 0 0 0\n", 2);
        else
            text += envelope("  Key " + std::to_string(still[c]) + " 0 0 0 0 0 0 0 0\n", 1);
    }
    return text;
}

std::string largeScene(int muscles) {
    std::string text = "LWSC\n3\n\nFirstFrame 0\nLastFrame " + std::to_string(kFrames - 1) +
                       "\nFrameStep 1\nFramesPerSecond 30\n\n";
    for (int object = 0; object * kPairsPerObject < muscles; ++object) {
        text += "LoadObjectLayer 1 Objects/Body" + std::to_string(object) + ".lwo\nShowObject 6 7\nObjectMotion\n" +
                boneMotion(0, false).substr(11) + "ShadowOptions 7\n\n";
        const int pairs = std::min(kPairsPerObject, muscles - object * kPairsPerObject);
        for (int i = 0; i < pairs; ++i) {
            char numbers[64];
            std::snprintf(numbers, sizeof numbers, "%x\n%x\n", 0x40000000u | (2u * i) << 16 | object,
                          0x40000000u | (2u * i + 1) << 16 | object);
            text += "AddBone\nBoneName Muscle" + std::to_string(i) + "\nShowBone 1 -1 0.376471 0.878431 0.941176\n"
                    "BoneActive 1\nBoneStrength 1\nBoneRestPosition " + std::to_string(0.01 * i) +
                    " 0 0\nBoneRestDirection 0 0 0\nBoneRestLength 1\n" + boneMotion(0.01 * i, false) +
                    "Plugin ItemMotionHandler 1 Sinewrig\n" + numbers + "1\n1\n1\n0 0 1\nEndPlugin\n\n";
            text += "AddBone\nBoneName Reference" + std::to_string(i) + "\nBoneActive 1\nBoneRestLength 1\n" +
                    boneMotion(0.01 * i, true) + "\n";
        }
    }
    return text + "AddLight\nLightName Light\nLightMotion\nNumChannels 0\n\nAddCamera\nCameraName Camera\n\nRenderMode 2\n";
}

const std::string& sceneText(int muscles) {
    static std::string texts[2];
    std::string& text = texts[muscles > 1000];
    if (text.empty()) text = largeScene(muscles);
    return text;
}

std::string scenePath(int muscles) {
    const std::string path = "/tmp/sinewrig-lws-bench-" + std::to_string(getpid()) + "-" + std::to_string(muscles) + ".lws";
    std::ifstream exists(path);
    if (!exists) std::ofstream(path, std::ios::binary) << sceneText(muscles);
    return path;
}

// Counts what is written and keeps none of it, so that writing is timed alone.
class Discard : public std::streambuf {
public:
    std::size_t bytes = 0;

protected:
    std::streamsize xsputn(const char*, std::streamsize n) override {
        bytes += static_cast<std::size_t>(n);
        return n;
    }
    int_type overflow(int_type c) override {
        ++bytes;
        return traits_type::not_eof(c);
    }
};

void setBytes(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
    state.counters["MB"] = double(bytes) / 1e6;
}

// What the disk (here the page cache) gives: the file's bytes read into memory.
void fileBytes(benchmark::State& state) {
    const std::string path = scenePath(int(state.range(0)));
    std::size_t size = 0;
    for (auto _ : state) {
        std::ifstream file(path, std::ios::binary | std::ios::ate);
        std::string bytes(static_cast<std::size_t>(file.tellg()), '\0');
        file.seekg(0);
        file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    setBytes(state, size);
}
BENCHMARK(fileBytes)->Arg(10000)->Unit(benchmark::kMillisecond);

void readFromMemory(benchmark::State& state) {
    const std::string& text = sceneText(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        std::string copy = text;
        host::lws::SceneText scene;
        host::lws::SceneError error;
        state.ResumeTiming();
        if (!host::lws::readScene(std::move(copy), scene, error)) state.SkipWithError(error.what.c_str());
        state.PauseTiming();
        { host::lws::SceneText gone = std::move(scene); }
        state.ResumeTiming();
    }
    setBytes(state, text.size());
}
BENCHMARK(readFromMemory)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void readFromFile(benchmark::State& state) {
    const std::string path = scenePath(int(state.range(0)));
    for (auto _ : state) {
        host::lws::SceneText scene;
        std::string error;
        if (!host::lws::readSceneFile(path, scene, error)) state.SkipWithError(error.c_str());
    }
    setBytes(state, sceneText(int(state.range(0))).size());
}
BENCHMARK(readFromFile)->Arg(10000)->Unit(benchmark::kMillisecond);

host::lws::SceneText readScene(int muscles) {
    host::lws::SceneText scene;
    host::lws::SceneError error;
    if (!host::lws::readScene(sceneText(muscles), scene, error)) std::fprintf(stderr, "%s\n", error.what.c_str());
    return scene;
}

// Items made and every muscle's create and load through the text-mode state.
void loadIntoLayout(benchmark::State& state) {
    const host::lws::SceneText scene = readScene(int(state.range(0)));
    for (auto _ : state) {
        auto layout = std::make_unique<host::Layout>();
        layout->log.enabled = false;
        auto handlers = std::make_unique<host::MotionHandlers>(*layout, loadedModule());
        std::string error;
        if (!host::lws::loadScene(scene, *layout, *handlers, error)) state.SkipWithError(error.c_str());
        state.PauseTiming();
        handlers.reset();
        layout.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(loadIntoLayout)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

struct Loaded {
    host::lws::SceneText scene;
    std::unique_ptr<host::Layout> layout = std::make_unique<host::Layout>();
    std::unique_ptr<host::MotionHandlers> handlers;

    explicit Loaded(int muscles) : Loaded(readScene(muscles)) {}
    explicit Loaded(host::lws::SceneText read) : scene(std::move(read)) {
        layout->log.enabled = false;
        handlers = std::make_unique<host::MotionHandlers>(*layout, loadedModule());
        std::string error;
        if (!host::lws::loadScene(scene, *layout, *handlers, error)) std::fprintf(stderr, "%s\n", error.c_str());
    }
    ~Loaded() { handlers.reset(); }
};

// Every line copied and every muscle's block regenerated from its save.
void writeBack(benchmark::State& state) {
    Loaded loaded(int(state.range(0)));
    Discard sink;
    std::ostream out(&sink);
    for (auto _ : state) {
        std::string error;
        if (!host::lws::writeScene(loaded.scene, {loaded.handlers.get(), {}}, out, error)) state.SkipWithError(error.c_str());
    }
    setBytes(state, loaded.scene.text.size());
}
BENCHMARK(writeBack)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The frames evaluated and every muscle's nine channels keyed at each.
std::vector<host::lws::ItemBake> bakesOf(Loaded& loaded) {
    std::vector<host::lws::ItemBake> bakes;
    for (const host::MotionHandlers::Applied& applied : loaded.handlers->instances())
        bakes.push_back({itemNumber(applied.item), {}});
    for (int frame = 0; frame < kFrames; ++frame) {
        const double time = frame / loaded.scene.settings.framesPerSecond;
        loaded.handlers->evaluate(time);
        for (host::lws::ItemBake& bake : bakes) {
            double value[9];
            loaded.layout->itemParam(itemFromNumber(bake.item), LWIP_POSITION, time, value);
            loaded.layout->itemParam(itemFromNumber(bake.item), LWIP_ROTATION, time, value + 3);
            loaded.layout->itemParam(itemFromNumber(bake.item), LWIP_SCALING, time, value + 6);
            for (int c = 0; c < 9; ++c) bake.channels[c].push_back({time, value[c]});
        }
    }
    return bakes;
}

// Writing the scene with every muscle baked (the keys made beforehand).
void bakeWrite(benchmark::State& state) {
    Loaded loaded(int(state.range(0)));
    const std::vector<host::lws::ItemBake> bakes = bakesOf(loaded);
    Discard sink;
    std::ostream out(&sink);
    for (auto _ : state) {
        std::string error;
        if (!host::lws::writeScene(loaded.scene, {nullptr, bakes}, out, error)) state.SkipWithError(error.c_str());
    }
    state.counters["muscles"] = double(bakes.size());
    setBytes(state, sink.bytes / static_cast<std::size_t>(state.iterations()));
}
BENCHMARK(bakeWrite)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The road of a large scene in steps, each a child process of its own so
// that its peak memory is its own, and each doing all the steps before it:
// 0 read the file; 1 load it with the module and evaluate every muscle at
// every frame; 2 keep every muscle's nine channels at each frame as keys
// (the bake); 3 write the baked scene to a file. Wall time, as the child's
// CPU is not the benchmark's.
enum Step { kRead, kRun, kBake, kWrite };

int stepInChild(const std::string& path, const std::string& out, int muscles, Step step) {
    host::lws::SceneText scene;
    std::string error;
    if (!host::lws::readSceneFile(path, scene, error)) return 1;
    if (step == kRead) return 0;
    Loaded loaded(std::move(scene));
    if (loaded.handlers->instances().size() != std::size_t(muscles)) return 2;
    if (step == kRun) {
        for (int frame = 0; frame < kFrames; ++frame) loaded.handlers->evaluate(frame / loaded.scene.settings.framesPerSecond);
        return 0;
    }
    const std::vector<host::lws::ItemBake> bakes = bakesOf(loaded);
    if (step == kBake) return bakes.size() == std::size_t(muscles) ? 0 : 3;
    std::ofstream file(out, std::ios::binary);
    if (!host::lws::writeScene(loaded.scene, {nullptr, bakes}, file, error)) return 4;
    return file.flush() ? 0 : 5;
}

void roadSteps(benchmark::State& state) {
    const int muscles = 10000;
    const Step step = static_cast<Step>(state.range(0));
    const std::string path = scenePath(muscles), out = path + ".baked.lws";
    long peakKilobytes = 0;
    for (auto _ : state) {
        const pid_t child = fork();
        if (child == 0) _exit(stepInChild(path, out, muscles, step));
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("the step failed");
        peakKilobytes = std::max(peakKilobytes, usage.ru_maxrss);
    }
    const char* names[] = {"read", "read, run", "read, run, bake", "read, run, bake, write"};
    state.SetLabel(names[step]);
    state.counters["peak MB"] = double(peakKilobytes) / 1024;
    if (step == kRead) setBytes(state, sceneText(muscles).size());
    if (step == kWrite) {
        std::ifstream baked(out, std::ios::binary | std::ios::ate);
        state.counters["written MB"] = double(baked.tellg()) / 1e6;
        std::remove(out.c_str());
    }
}
BENCHMARK(roadSteps)->DenseRange(kRead, kWrite)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    for (int muscles : {1000, 10000}) std::remove(scenePath(muscles).c_str());
    return 0;
}
