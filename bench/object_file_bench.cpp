// Object files of 1,000,000 points and 100,000 skelegons: read into the
// stand-in Modeler's mesh, written back unchanged and with every skelegon
// tagged as a muscle, beside a plain read of the same bytes for the disk's
// (or cache's) own speed. Peak memory is what the operation allocates at most
// at once, counted here, against the file's size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>

#include "host/object_file/object_file.h"

namespace {

// The benchmarks run on one thread: plain counters keep the counting out of the figures.
std::size_t allocated = 0, peak = 0;

}  // namespace

void* operator new(std::size_t size) {
    void* p = std::malloc(size + 16);
    if (!p) throw std::bad_alloc();
    *static_cast<std::size_t*>(p) = size;
    allocated += size;
    if (allocated > peak) peak = allocated;
    return static_cast<char*>(p) + 16;
}
void operator delete(void* p) noexcept {
    if (!p) return;
    void* block = static_cast<char*>(p) - 16;
    allocated -= *static_cast<std::size_t*>(block);
    std::free(block);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

constexpr std::uint32_t kPoints = 1000000, kSkelegons = 100000, kPerChunk = 50000;

void u2(std::string& out, std::uint32_t v) { out += char(v >> 8), out += char(v); }
void u4(std::string& out, std::uint32_t v) { out += char(v >> 24), out += char(v >> 16), out += char(v >> 8), out += char(v); }
void vx(std::string& out, std::uint32_t i) { i < 0xFF00 ? u2(out, i) : u4(out, i | 0xFF000000u); }
void s0(std::string& out, const std::string& text) {
    out += text;
    out += '\0';
    if ((text.size() + 1) % 2) out += '\0';
}
void chunk(std::string& out, const char* id, const std::string& data) {
    out.append(id, 4);
    u4(out, static_cast<std::uint32_t>(data.size()));
    out += data;
    if (data.size() % 2) out += '\0';
}

// One layer: the points, then two halves of the skelegons, each with its own
// TAGS chunk (a tag index reaches only 65,536 strings) and PART and COLR tags.
const std::string& objectPath() {
    static const std::string path = [] {
        std::string body, data;
        data.clear();
        u2(data, 0), u2(data, 0), u4(data, 0), u4(data, 0), u4(data, 0), s0(data, "Body");
        chunk(body, "LAYR", data);
        data.clear();
        for (std::uint32_t i = 0; i < kPoints; ++i) {
            const float xyz[3] = {float(i % 1000), float(i / 1000 % 1000), float(i) * 0.001f};
            for (float f : xyz) {
                std::uint32_t bits;
                std::memcpy(&bits, &f, 4);
                u4(data, bits);
            }
        }
        chunk(body, "PNTS", data);
        for (std::uint32_t half = 0; half < kSkelegons / kPerChunk; ++half) {
            data.clear();
            for (std::uint32_t i = 0; i < kPerChunk; ++i) s0(data, "Bone" + std::to_string(half * kPerChunk + i));
            s0(data, "DkBlu");
            chunk(body, "TAGS", data);
            data = "BONE";
            for (std::uint32_t i = 0; i < kPerChunk; ++i) {
                const std::uint32_t s = half * kPerChunk + i;
                u2(data, 2), vx(data, 2 * s), vx(data, 2 * s + 1);
            }
            chunk(body, "POLS", data);
            data = "PART";
            for (std::uint32_t i = 0; i < kPerChunk; ++i) vx(data, i), u2(data, i);
            chunk(body, "PTAG", data);
            data = "COLR";
            for (std::uint32_t i = 0; i < kPerChunk; ++i) vx(data, i), u2(data, kPerChunk);
            chunk(body, "PTAG", data);
        }
        std::string file = "FORM";
        u4(file, static_cast<std::uint32_t>(body.size() + 4));
        file += "LWO2" + body;
        const std::string where = (std::filesystem::temp_directory_path() / "sinewrig-object-bench.lwo").string();
        std::ofstream(where, std::ios::binary) << file;
        return where;
    }();
    return path;
}

double fileMegabytes() { return std::filesystem::file_size(objectPath()) / 1e6; }

void report(benchmark::State& state, std::size_t before) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(objectPath())));
    state.counters["file_MB"] = fileMegabytes();
    state.counters["peak_MB"] = (peak - before) / 1e6;
    state.counters["peak_per_file"] = (peak - before) / 1e6 / fileMegabytes();
}

void readPlainBytes(benchmark::State& state) {
    objectPath();
    const std::size_t before = allocated;
    peak = before;
    for (auto _ : state) {
        std::ifstream in(objectPath(), std::ios::binary);
        std::vector<char> bytes(std::filesystem::file_size(objectPath()));
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
    report(state, before);
}
BENCHMARK(readPlainBytes)->Unit(benchmark::kMillisecond);

void readObject(benchmark::State& state) {
    objectPath();
    const std::size_t before = allocated;
    peak = before;
    for (auto _ : state) {
        auto file = std::make_unique<host::ObjectFile>();
        auto mesh = std::make_unique<host::MeshObject>();
        std::string error;
        if (!host::loadObjectFile(objectPath(), *file, *mesh, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(mesh->layer(0).polygons.size());
        state.PauseTiming();  // freeing the mesh is not reading
        mesh.reset();
        file.reset();
        state.ResumeTiming();
    }
    report(state, before);
}
BENCHMARK(readObject)->Unit(benchmark::kMillisecond);

// state.range(0): 0 writes the object back unchanged, 1 with every skelegon a muscle.
void writeObject(benchmark::State& state) {
    host::ObjectFile file;
    host::MeshObject mesh;
    std::string error;
    if (!host::loadObjectFile(objectPath(), file, mesh, error)) state.SkipWithError(error.c_str());
    if (state.range(0))
        for (auto& polygon : mesh.layer(0).polygons) {
            polygon->tags[LWID_('C', 'O', 'L', 'R')] = "DkRed";
            polygon->tags[LWID_('M', 'T', 'I', 'P')] = "Bone0";
            polygon->tags[LWID_('M', 'F', 'L', 'G')] = "3";
        }
    const std::string out = objectPath() + ".out";
    const std::size_t before = allocated;
    peak = before;
    for (auto _ : state) {
        std::ofstream stream(out, std::ios::binary);
        if (!host::writeObjectFile(file, mesh, stream, error)) state.SkipWithError(error.c_str());
    }
    report(state, before);
    std::remove(out.c_str());
}
BENCHMARK(writeObject)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
