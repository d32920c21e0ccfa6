// Export at scale: the shipped example (examples/featherGuides.ma) with its system set to a
// 100 x 100 grid at full barbule quality ("displayBarbuleQuality" 100): 10,003 feathers.
//
// Reported, each measured side by side in one run, alternating, the least time of each kept:
// - BM_ExportOverBuild/<format>: the build alone (evaluating the system and building every
//   feather into it, as quillo info --build does) and the export of the same feathers to a
//   file (quilloExportFeathers, gzip off), on 2 workers; counter export_over_build, and
//   cpu_export_over_build the same over processor time (all threads), which other work on
//   the machine disturbs much less.
// - BM_FormatOverWrite/<format>: formatting the built feathers into text (written nowhere)
//   against the bare write of as many bytes (fwrite of a prepared buffer) to a file; counters
//   format_over_write and cpu_format_over_write.
// - BM_ExportSpeedup/<format>: the export on 2 workers against 1; counter speedup.
// - BM_ExportPeakMemory/<roots>: peak resident memory of a quillo export process (JSON) at the
//   example's barbule quality (25) for 10,000 and 100,000 roots; counter peak_MiB. Runs first.
// Files go to $TMPDIR (or /tmp) and are removed after each measurement.

#include "export/featherJson.h"
#include "export/featherObj.h"
#include "export/featherRib.h"
#include "export/featherStream.h"
#include "feather/buildWorkers.h"
#include "nodes/system/quilloSystem.h"
#include "benchScene.h"

#include <host/mel.h>
#include <host/messages.h>
#include <host/scene.h>

#include <maya/MFnDependencyNode.h>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

const char* const formats[] = {"json", "rib", "obj"};
const std::string systemName = "quilloSystemShape1";

std::string scratchFolder() {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/";
}

std::string scratchPath(const std::string& name) {
    return scratchFolder() + "quillo_export_bench_" + std::to_string(getpid()) + "_" + name;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The processor time of every thread of this process so far, user and system.
double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec);
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Wall and processor seconds of a step: the least of its runs, since other work on the
// machine only ever adds time.
struct timing {
    double wall = 1e300;
    double processor = 1e300;
    void keepLeast(const timing& run) {
        wall = std::min(wall, run.wall);
        processor = std::min(processor, run.processor);
    }
};

template <typename Step> timing timed(Step step) {
    const double processorStart = processorSeconds();
    const auto start = std::chrono::steady_clock::now();
    step();
    return {secondsSince(start), processorSeconds() - processorStart};
}

// The example with the system's grid and barbule quality set, as scene text.
std::string exampleScene(int uSegments, int vSegments, int barbuleQuality) {
    std::ifstream in(QUILLO_SOURCE_DIR "/examples/featherGuides.ma");
    std::ostringstream text;
    text << in.rdbuf() << "setAttr \"" << systemName << ".uSegment\" " << uSegments << ";\n"
         << "setAttr \"" << systemName << ".vSegment\" " << vSegments << ";\n"
         << "setAttr \"" << systemName << ".displayBarbuleQuality\" " << barbuleQuality << ";\n";
    return text.str();
}

// A quillo export in a process of its own; its peak resident memory in MiB, or -1. A forked
// child's peak counts what it held before its exec, so these run first, before this process
// opens its scene.
double exportPeakMiB(int uSegments, int vSegments) {
    const std::string scene = scratchPath("memory.ma"), out = scratchPath("memory.json");
    std::ofstream(scene) << exampleScene(uSegments, vSegments, 25);
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execl(QUILLO_BINARY_DIR "/bin/quillo", "quillo", "export", scene.c_str(), "-o", out.c_str(),
              "--workers", "2", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    const bool ran = child > 0 && wait4(child, &status, 0, &usage) == child && WIFEXITED(status) &&
                     WEXITSTATUS(status) == 0;
    std::remove(scene.c_str());
    std::remove(out.c_str());
    return ran ? static_cast<double>(usage.ru_maxrss) / 1024.0 : -1.0;
}

void BM_ExportPeakMemory(benchmark::State& state) {
    const int rows = 100;
    const int columns = static_cast<int>(state.range(0)) / rows;
    double peak = 0.0;
    for (auto _ : state)
        peak = exportPeakMiB(columns, rows);
    state.counters["roots"] = static_cast<double>(rows) * columns;
    state.counters["peak_MiB"] = peak;
}
BENCHMARK(BM_ExportPeakMemory)->Arg(10000)->Arg(100000)->Unit(benchmark::kSecond)->Iterations(1);

// The 10,003-feather scene, opened once in this process with the plug-in loaded.
host::Scene& benchScene() {
    static bool made = false;
    host::Scene& scene = host::Scene::current();
    if (made)
        return scene;
    made = true;
    openBenchScene(exampleScene(100, 100, 100), scratchPath("scene.ma"));
    host::MessageCapture quiet;
    // The system blends the guides the feather node registers when it builds.
    scene.evaluate("quilloShape.outputMesh");
    return scene;
}

const quilloSystem& systemNode(host::Scene& scene) {
    return *static_cast<quilloSystem*>(MFnDependencyNode(scene.findNode(systemName)).userNode());
}

// Marks the system dirty without changing its feathers, so that the next use rebuilds.
void dirtySystem(host::Scene& scene) {
    scene.setAttr(systemName + ".randomSeed", 6.0);
    scene.setAttr(systemName + ".randomSeed", 5.0);
}

// The build alone: evaluation and every feather built and kept, as quillo info --build does.
timing timedBuild(host::Scene& scene) {
    dirtySystem(scene);
    return timed([&] {
        scene.evaluate(systemName + ".outFeatherMesh");
        systemNode(scene).builtFeathers();
    });
}

// The export of every node to a file; the file's size in *bytes.
timing timedExport(host::Scene& scene, const std::string& format, double* bytes) {
    dirtySystem(scene);
    const std::string path = scratchPath("out." + format);
    host::MessageCapture quiet;
    const timing took = timed([&] {
        if (!host::melExecute("quilloExportFeathers -format " + format + " -file \"" + path + "\""))
            std::fprintf(stderr, "the %s export failed\n", format.c_str());
    });
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    *bytes = static_cast<double>(in.tellg());
    std::remove(path.c_str());
    return took;
}

void BM_ExportOverBuild(benchmark::State& state) {
    host::Scene& scene = benchScene();
    const std::string format = formats[state.range(0)];
    setBuildWorkerCount(2);
    timing build, exported;
    double bytes = 0.0;
    for (auto _ : state) {
        build.keepLeast(timedBuild(scene));
        exported.keepLeast(timedExport(scene, format, &bytes));
    }
    setBuildWorkerCount(0);
    state.counters["feathers"] = static_cast<double>(systemNode(scene).builtFeathers().size());
    state.counters["build_s"] = build.wall;
    state.counters["export_s"] = exported.wall;
    state.counters["export_over_build"] = exported.wall / build.wall;
    // Processor time (all threads, user and system): the same ratio, much less disturbed by
    // other work on the machine.
    state.counters["cpu_export_over_build"] = exported.processor / build.processor;
    state.counters["file_GB"] = bytes / 1e9;
}
BENCHMARK(BM_ExportOverBuild)->DenseRange(0, 2)->Unit(benchmark::kSecond)->Iterations(2);

// A stream that keeps nothing and counts what it is given.
class countingBuf : public std::streambuf {
  public:
    double bytes = 0.0;

  protected:
    std::streamsize xsputn(const char*, std::streamsize count) override {
        bytes += static_cast<double>(count);
        return count;
    }
    int_type overflow(int_type c) override {
        bytes += 1.0;
        return c;
    }
};

// fwrite of a prepared buffer until `bytes` are written, handed to the file system.
void bareWrite(double bytes) {
    static const std::vector<char> block(8 << 20, 'x');
    const std::string path = scratchPath("bare");
    FILE* file = std::fopen(path.c_str(), "wb");
    for (double left = bytes; left > 0 && file;) {
        const size_t count = static_cast<size_t>(std::min<double>(left, block.size()));
        std::fwrite(block.data(), 1, count, file);
        left -= static_cast<double>(count);
    }
    if (file)
        std::fclose(file);
    std::remove(path.c_str());
}

void BM_FormatOverWrite(benchmark::State& state) {
    host::Scene& scene = benchScene();
    setBuildWorkerCount(2);
    timedBuild(scene);
    featherExportNode node;
    node.name = systemName;
    node.type = "quilloSystem";
    node.feathers = &systemNode(scene).builtFeathers();
    const ribSettings settings;
    timing formatting, writing;
    double bytes = 0.0;
    for (auto _ : state) {
        featherJsonFormat json;
        featherRibFormat rib(settings);
        featherObjFormat obj;
        featherFileFormat* chosen[] = {&json, &rib, &obj};
        countingBuf counter;
        std::ostream out(&counter);
        formatting.keepLeast(
            timed([&] { streamFeathers(out, *chosen[state.range(0)], {node}, exportPart()); }));
        bytes = counter.bytes;
        writing.keepLeast(timed([&] { bareWrite(bytes); }));
    }
    setBuildWorkerCount(0);
    state.counters["format_s"] = formatting.wall;
    state.counters["bare_write_s"] = writing.wall;
    state.counters["format_over_write"] = formatting.wall / writing.wall;
    state.counters["cpu_format_over_write"] = formatting.processor / writing.processor;
    state.counters["format_GB_per_s"] = bytes / formatting.wall / 1e9;
    state.counters["file_GB"] = bytes / 1e9;
}
BENCHMARK(BM_FormatOverWrite)->DenseRange(0, 2)->Unit(benchmark::kSecond)->Iterations(2);

void BM_ExportSpeedup(benchmark::State& state) {
    host::Scene& scene = benchScene();
    const std::string format = formats[state.range(0)];
    timing one, two;
    double bytes = 0.0;
    for (auto _ : state) {
        setBuildWorkerCount(1);
        one.keepLeast(timedExport(scene, format, &bytes));
        setBuildWorkerCount(2);
        two.keepLeast(timedExport(scene, format, &bytes));
    }
    setBuildWorkerCount(0);
    state.counters["one_worker_s"] = one.wall;
    state.counters["two_workers_s"] = two.wall;
    state.counters["speedup"] = one.wall / two.wall;
}
BENCHMARK(BM_ExportSpeedup)->DenseRange(0, 2)->Unit(benchmark::kSecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();
