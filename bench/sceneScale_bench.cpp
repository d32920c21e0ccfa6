// Scenes at scale, as quillo info meets them.
//
// BM_FullPaths: the full DAG paths of every node of a flat scene, as `quillo info` lists them.
// At 10,000 nodes it also times the walk quillo used before (the scene's whole name list copied
// for every step up) side by side, reported as old_over_new.
//
// BM_SharedShortNames: opening and listing groups whose children all share one short name.
//
// BM_MillionVertexMesh: opening a mesh whose ".vt" holds a million vertices in one setAttr (a
// 10 MB file). Reported: seconds to open, heap the scene holds afterwards per vertex with the
// numbers packed (packed_bytes_per_vertex) and once they are turned into one slot per number as
// they were before (slot_bytes_per_vertex), their ratio, and the process's peak resident size
// after the first open (peak_rss_mb), the text of the file included.

#include <host/messages.h>
#include <host/scene.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

std::string tempFile(const std::string& name) {
    return "/tmp/quillo_scene_bench_" + std::to_string(getpid()) + "_" + name;
}

size_t heapInUse() {
    return mallinfo2().uordblks;
}

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void openQuietly(const std::string& path) {
    host::MessageCapture quiet;
    host::Scene::current().openFile(path);
}

void openFlatScene(int nodes) {
    const std::string path = tempFile("flat.ma");
    {
        std::ofstream out(path);
        out << "//Maya ASCII 2013 scene\nrequires maya \"2013\";\n";
        for (int i = 0; i < nodes; ++i)
            out << "createNode transform -n \"t" << i << "\";\ncreateNode locator -n \"t" << i
                << "Shape\" -p \"t" << i << "\";\n";
    }
    openQuietly(path);
    std::remove(path.c_str());
}

size_t listFullPaths() {
    host::Scene& scene = host::Scene::current();
    size_t characters = 0;
    for (const std::string& node : scene.nodeNames())
        characters += scene.fullPathOf(node).size();
    return characters;
}

// How quillo info found a path before: a step up per parent, with a bound taken from a copy of
// every name in the scene at each step.
size_t listFullPathsAsBefore() {
    host::Scene& scene = host::Scene::current();
    size_t characters = 0;
    for (const std::string& node : scene.nodeNames()) {
        std::string path;
        size_t steps = scene.nodeNames().size();
        for (std::string at = node; !at.empty() && steps-- > 0; at = scene.parentOf(at))
            path = "|" + at + path;
        characters += path.size();
    }
    return characters;
}

void BM_FullPaths(benchmark::State& state) {
    const int transforms = static_cast<int>(state.range(0));
    openFlatScene(transforms);
    for (auto _ : state)
        benchmark::DoNotOptimize(listFullPaths());
    if (transforms <= 10000) {
        auto start = std::chrono::steady_clock::now();
        const size_t now = listFullPaths();
        const double fast = seconds(start);
        start = std::chrono::steady_clock::now();
        const size_t before = listFullPathsAsBefore();
        const double slow = seconds(start);
        if (now != before)
            state.SkipWithError("the two walks give different paths");
        state.counters["old_over_new"] = slow / fast;
    }
    state.counters["nodes"] = 2.0 * transforms;
    host::Scene::current().fileNew();
}
BENCHMARK(BM_FullPaths)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

// Opening and listing a scene of N groups that each hold a child named "a", as Maya allows: a
// name shared by N nodes must cost no more per node than a unique one (us_per_node, flat from
// 10,000 to 50,000 groups when lookups do not scan every node of the name).
void BM_SharedShortNames(benchmark::State& state) {
    const int groups = static_cast<int>(state.range(0));
    const std::string path = tempFile("shared.ma");
    {
        std::ofstream out(path);
        out << "//Maya ASCII 2017 scene\nrequires maya \"2017\";\n";
        for (int i = 0; i < groups; ++i)
            out << "createNode transform -n \"g" << i << "\";\ncreateNode transform -n \"a\" -p \"g"
                << i << "\";\n";
    }
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        openQuietly(path);
        benchmark::DoNotOptimize(listFullPaths());
        total += seconds(start);
        host::Scene::current().fileNew();
    }
    std::remove(path.c_str());
    state.counters["us_per_node"] =
        1e6 * total / static_cast<double>(state.iterations()) / (2.0 * groups);
}
BENCHMARK(BM_SharedShortNames)
    ->Arg(10000)
    ->Arg(50000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_MillionVertexMesh(benchmark::State& state) {
    const int vertices = 1000000;
    const std::string path = tempFile("mesh.ma");
    {
        std::ofstream out(path);
        out << "//Maya ASCII 2013 scene\nrequires maya \"2013\";\n"
               "createNode transform -n \"m\";\ncreateNode mesh -n \"mShape\" -p \"m\";\n"
            << "\tsetAttr -s " << vertices << " \".vt[0:" << vertices - 1 << "]\"";
        for (int i = 0; i < vertices; ++i)
            out << (i % 3 ? " " : "\n\t\t") << i % 1000 << " 0 " << i / 1000;
        out << ";\n";
    }
    double packed = 0, slots = 0, open = 0, peak = 0;
    for (auto _ : state) {
        host::Scene::current().fileNew();
        const size_t before = heapInUse();
        const auto start = std::chrono::steady_clock::now();
        openQuietly(path);
        open = seconds(start);
        state.PauseTiming();
        packed = static_cast<double>(heapInUse() - before) / vertices;
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        peak = static_cast<double>(usage.ru_maxrss) / 1024.0;
        std::vector<double> first;
        host::Scene::current().getAttr("mShape.vt[0]", first); // asks for slots
        slots = static_cast<double>(heapInUse() - before) / vertices;
        state.ResumeTiming();
    }
    state.counters["open_s"] = open;
    state.counters["packed_bytes_per_vertex"] = packed;
    state.counters["slot_bytes_per_vertex"] = slots;
    state.counters["slots_over_packed"] = slots / packed;
    state.counters["peak_rss_mb"] = peak;
    host::Scene::current().fileNew();
    std::remove(path.c_str());
}
BENCHMARK(BM_MillionVertexMesh)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
