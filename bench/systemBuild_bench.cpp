// The feather system at scale: about 10,000 roots (a 100 x 100 grid) borrowing a feather node
// with 20 guides, on a NURBS surface and on a mesh of 20,000 faces, at "displayBarbuleQuality"
// 10 and 100.
//
// Reported:
// - BM_Placement/<shape>: the placement alone (grid, mapping onto the shape); items = roots.
// - BM_FaceSearch: the mesh's u/v face search for the grid's roots, indexed and by full scan,
//   timed side by side in the same iteration; counter scan_over_index is their ratio.
// - BM_SystemBuild/<shape>/<quality>: one whole evaluation of the system (placement, guide
//   index, blending and every feather build); items = feathers, so items_per_second is feathers
//   per second. peak_rss_MiB is the process's peak resident memory so far and
//   feather_MiB the memory the built feathers hold.

#include "feather/buildWorkers.h"
#include "feather/featherGeometry.h"
#include "feather/featherGenerator.h"
#include "nodes/system/faceUVPolygons.h"
#include "nodes/system/featherPlacement.h"
#include "nodes/system/quilloSystem.h"
#include "nodes/system/uvFaceIndex.h"
#include "benchScene.h"
#include "plugin/sharedObjects.h"

#include <host/mel.h>
#include <host/messages.h>
#include <host/scene.h>

#include <maya/MDagPath.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMesh.h>
#include <maya/MIntArray.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MSelectionList.h>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int gridCells = 100;   // per side: 10,000 roots
constexpr int meshColumns = 100; // 100 x 200 quads: 20,000 faces
constexpr int meshRows = 200;
constexpr double extent = 100.0; // both growth shapes cover [0, 100] x [0, 100] in x and z

// A flat guide patch 2 wide and 6 long along +z, its root edge at (x, 0, z).
std::string guideSurface(int k, double x, double z) {
    std::ostringstream out;
    const std::string name = "guide" + std::to_string(k);
    out << "createNode transform -n \"" << name << "\";\n"
        << "createNode nurbsSurface -n \"" << name << "Shape\" -p \"" << name << "\";\n"
        << "\tsetAttr \".cc\" -type \"nurbsSurface\" 1 1 0 0 no 2 0 1 2 0 1 4\n"
        << "\t\t" << x - 1 << " 0 " << z << "\n\t\t" << x - 1 << " 2 " << z + 6 << "\n"
        << "\t\t" << x + 1 << " 0 " << z << "\n\t\t" << x + 1 << " 2 " << z + 6 << "\n\t\t;\n";
    return out.str();
}

// The scene: 20 guides over the growth area, a feather node with the example's ramps, a flat
// NURBS growth surface and a system on it.
std::string sceneText() {
    std::ostringstream out;
    out << "//Maya ASCII 2013 scene\n";
    for (int k = 0; k < 20; ++k)
        out << guideSurface(k, 10.0 + 20.0 * (k % 5), 10.0 + 25.0 * (k / 5));
    out << "createNode transform -n \"feather\";\n"
        << "createNode quillo -n \"featherShape\" -p \"feather\";\n"
        << "\tsetAttr \".racseg\" 16;\n"
        << "\tsetAttr -s 2 \".barden[0:1]\" 0 1 1  1 1 1;\n"
        << "\tsetAttr -s 2 \".racthS[0:1]\" 0 1 1  1 1 1;\n"
        << "\tsetAttr -s 2 \".barbts[0:1]\" 0 1 1  1 1 1;\n"
        << "\tsetAttr -s 2 \".barbtadj[0:1]\" 0 1 1  1 1 1;\n"
        << "\tsetAttr -s 2 \".forpss[0:1]\" 0 1 1  1 1 1;\n"
        << "\tsetAttr -s 2 \".forrs[0:1]\" 0 1 1  1 1 1;\n"
        << "\tsetAttr -s 2 \".barbudrs[0:1]\" 0 1 1  1 1 1;\n"
        << "\tsetAttr -s 3 \".lbarbls[0:2]\" 0 0.3 2  0.6 1 2  1 0.15 2;\n"
        << "\tsetAttr -s 3 \".rbarbls[0:2]\" 0 0.3 2  0.6 1 2  1 0.15 2;\n";
    for (int k = 0; k < 20; ++k)
        out << "connectAttr \"guide" << k << "Shape.worldSpace[0]\" \"featherShape.guidSurfaceInfo["
            << k << "].guidSurface\";\n";
    out << "createNode transform -n \"plane\";\n"
        << "createNode nurbsSurface -n \"planeShape\" -p \"plane\";\n"
        << "\tsetAttr \".cc\" -type \"nurbsSurface\" 1 1 0 0 no 2 0 1 2 0 1 4\n"
        << "\t\t0 0 0\n\t\t0 0 " << extent << "\n\t\t" << extent << " 0 0\n\t\t" << extent << " 0 "
        << extent << "\n\t\t;\n";
    return out.str();
}

// A grid mesh of meshColumns x meshRows quads over the growth area, u/v following x/z.
void createGrowthMesh(host::Scene& scene) {
    MFloatPointArray points;
    MFloatArray u, v;
    for (int j = 0; j <= meshRows; ++j)
        for (int i = 0; i <= meshColumns; ++i) {
            const float s = static_cast<float>(i) / meshColumns;
            const float t = static_cast<float>(j) / meshRows;
            points.append(
                MFloatPoint(s * static_cast<float>(extent), 0.0f, t * static_cast<float>(extent)));
            u.append(s);
            v.append(t);
        }
    MIntArray counts, connects;
    for (int j = 0; j < meshRows; ++j)
        for (int i = 0; i < meshColumns; ++i) {
            const int a = j * (meshColumns + 1) + i;
            counts.append(4);
            for (int id : {a, a + 1, a + meshColumns + 2, a + meshColumns + 1})
                connects.append(id);
        }
    scene.createNode("transform", "body");
    MObject parent = scene.findNode("body");
    MFnMesh fn;
    MObject shape = fn.create(static_cast<int>(points.length()), static_cast<int>(counts.length()),
                              points, counts, connects, u, v, parent);
    fn.assignUVs(counts, connects);
    scene.rename(MFnDependencyNode(shape).name().asChar(), "bodyShape");
}

// A system growing on `shape` through a set, borrowing the feather node.
void createSystem(host::Scene& scene, const std::string& name, const std::string& shape,
                  const std::string& input, const std::string& shapeOutput) {
    scene.createNode("transform", name + "Transform");
    scene.createNode("quilloSystem", name, name + "Transform");
    scene.createNode("objectSet", name + "Set");
    scene.connectAttr(shape + ".instObjGroups[0]", name + "Set.dagSetMembers", false, true);
    scene.connectAttr(name + "Set.message", name + ".growthSet");
    scene.connectAttr(shape + "." + shapeOutput, name + "." + input);
    scene.connectAttr("featherShape.featherInfoID", name + ".inRenderFeather");
    scene.setAttr(name + ".displayQuality", 100.0);
    scene.setAttr(name + ".uSegment", static_cast<double>(gridCells));
    scene.setAttr(name + ".vSegment", static_cast<double>(gridCells));
    scene.setAttr(name + ".radius", 30.0);
    scene.setAttr(name + ".guidsPerFeather", 3.0);
}

// The scene, made once for every benchmark of the program.
host::Scene& benchScene() {
    static bool made = false;
    host::Scene& scene = host::Scene::current();
    if (made)
        return scene;
    made = true;
    openBenchScene(sceneText(), "/tmp/quillo_system_bench_" + std::to_string(getpid()) + ".ma");
    host::MessageCapture quiet;
    createGrowthMesh(scene);
    createSystem(scene, "onSurface", "planeShape", "inputGrowSurface", "worldSpace[0]");
    createSystem(scene, "onMesh", "bodyShape", "inputGrowMesh", "worldMesh[0]");
    scene.evaluate("featherShape.outputMesh");
    return scene;
}

MDagPath pathTo(const std::string& name) {
    MSelectionList list;
    list.add(name.c_str());
    MDagPath path;
    list.getDagPath(0, path);
    return path;
}

double peakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

gridSettings benchGrid() {
    gridSettings grid;
    grid.uSegment = gridCells;
    grid.vSegment = gridCells;
    return grid;
}

systemParams benchParams() {
    systemParams params;
    params.uvSetName = "map1";
    return params;
}

void BM_PlacementOnSurface(benchmark::State& state) {
    benchScene();
    const MDagPath surface = pathTo("planeShape");
    featherRoots roots;
    for (auto _ : state) {
        placeOnSurface(surface, benchGrid(), benchParams(), roots);
        benchmark::DoNotOptimize(roots.rootPositions.length());
    }
    state.SetItemsProcessed(state.iterations() * roots.length());
}
BENCHMARK(BM_PlacementOnSurface)->Unit(benchmark::kMillisecond);

void BM_PlacementOnMesh(benchmark::State& state) {
    benchScene();
    MDagPath mesh = pathTo("bodyShape");
    featherRoots roots;
    for (auto _ : state) {
        MItMeshPolygon faces(mesh);
        placeOnMesh(faces, benchGrid(), benchParams(), roots);
        benchmark::DoNotOptimize(roots.rootPositions.length());
    }
    state.SetItemsProcessed(state.iterations() * roots.length());
}
BENCHMARK(BM_PlacementOnMesh)->Unit(benchmark::kMillisecond);

void BM_FaceSearch(benchmark::State& state) {
    benchScene();
    MDagPath mesh = pathTo("bodyShape");
    MItMeshPolygon faces(mesh);
    faceUVPolygons polygons;
    readFaceUVPolygons(faces, "map1", polygons);
    MFloatArray u, v;
    placementGrid(benchGrid(), 0.0, 1.0, 0.0, 1.0, u, v);

    double indexedSeconds = 0.0, scanSeconds = 0.0;
    long long mismatches = 0;
    for (auto _ : state) {
        using clock = std::chrono::steady_clock;
        const auto start = clock::now();
        const uvFaceIndex index(polygons);
        std::vector<int> indexed(u.length());
        for (unsigned int k = 0; k < u.length(); ++k)
            indexed[k] = index.findFace(u[k], v[k]);
        const auto middle = clock::now();
        for (unsigned int k = 0; k < u.length(); ++k)
            mismatches += findFaceByScan(polygons, u[k], v[k]) != indexed[k];
        const auto end = clock::now();
        indexedSeconds += std::chrono::duration<double>(middle - start).count();
        scanSeconds += std::chrono::duration<double>(end - middle).count();
    }
    state.counters["indexed_ms"] = 1e3 * indexedSeconds / static_cast<double>(state.iterations());
    state.counters["scan_ms"] = 1e3 * scanSeconds / static_cast<double>(state.iterations());
    state.counters["scan_over_index"] = scanSeconds / indexedSeconds;
    state.counters["mismatches"] = static_cast<double>(mismatches);
    state.counters["faces"] = polygons.count();
    state.SetItemsProcessed(state.iterations() * u.length());
}
BENCHMARK(BM_FaceSearch)->Unit(benchmark::kMillisecond)->Iterations(1);

// One evaluation of a system; range(0) picks the shape (0 surface, 1 mesh), range(1) the
// barbule quality.
void BM_SystemBuild(benchmark::State& state) {
    host::Scene& scene = benchScene();
    const std::string system = state.range(0) == 0 ? "onSurface" : "onMesh";
    scene.setAttr(system + ".displayBarbuleQuality", static_cast<double>(state.range(1)));
    const quilloSystem& node =
        *static_cast<quilloSystem*>(MFnDependencyNode(scene.findNode(system)).userNode());
    for (auto _ : state) {
        // Flipping the seed back and forth dirties the system without changing its feathers.
        state.PauseTiming();
        scene.setAttr(system + ".randomSeed", 6.0);
        scene.setAttr(system + ".randomSeed", 5.0);
        state.ResumeTiming();
        scene.evaluate(system + ".outFeatherMesh");
        node.builtFeathers(); // built from the evaluation's plan when first asked for
    }
    size_t bytes = 0;
    for (const featherGeometry& feather : node.builtFeathers())
        bytes += feather.heldBytes();
    state.SetItemsProcessed(state.iterations() * node.builtFeathers().size());
    state.counters["feathers"] = static_cast<double>(node.builtFeathers().size());
    state.counters["feather_MiB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
    state.counters["peak_rss_MiB"] = peakResidentMiB();
}
BENCHMARK(BM_SystemBuild)
    ->ArgNames({"mesh", "barbuleQuality"})
    ->Args({0, 10})
    ->Args({0, 100})
    ->Args({1, 10})
    ->Args({1, 100})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

size_t barbulePoints(const std::vector<featherGeometry>& feathers) {
    size_t points = 0;
    for (const featherGeometry& feather : feathers)
        for (const auto* side : {&feather.leftBarbules, &feather.rightBarbules})
            for (const MFloatPointArray& curve : *side)
                points += curve.length();
    return points;
}

// One rebuild of a system's feathers, timed.
double timedBuild(host::Scene& scene, const std::string& system, const quilloSystem& node) {
    scene.setAttr(system + ".randomSeed", 6.0);
    scene.setAttr(system + ".randomSeed", 5.0);
    const auto start = std::chrono::steady_clock::now();
    scene.evaluate(system + ".outFeatherMesh");
    node.builtFeathers();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The surface system at full barbule quality built on all workers and on one, alternately in
// the same iteration. Counters: workers, speedup (one worker's time over all workers'),
// points_per_s_per_core (barbule points per second of one worker), heap_bytes_per_feather
// (the heap the node's feathers hold, measured by emptying the node: what a kept feather
// costs, allocator overhead and spare capacity included) and counted_bytes_per_feather (the
// same by featherGeometry::heldBytes, lengths only).
void BM_WorkerSpeedup(benchmark::State& state) {
    host::Scene& scene = benchScene();
    const std::string system = "onSurface";
    scene.setAttr(system + ".displayBarbuleQuality", 100.0);
    const quilloSystem& node =
        *static_cast<quilloSystem*>(MFnDependencyNode(scene.findNode(system)).userNode());
    const unsigned int workers = std::thread::hardware_concurrency();
    double parallelSeconds = 0.0, oneSeconds = 0.0;
    for (auto _ : state) {
        setBuildWorkerCount(workers);
        parallelSeconds += timedBuild(scene, system, node);
        setBuildWorkerCount(1);
        oneSeconds += timedBuild(scene, system, node);
    }
    setBuildWorkerCount(0);
    const std::vector<featherGeometry>& feathers = node.builtFeathers();
    const double points = static_cast<double>(barbulePoints(feathers));
    const double count = static_cast<double>(feathers.size());
    size_t counted = 0;
    for (const featherGeometry& feather : feathers)
        counted += feather.heldBytes();
    const double held = static_cast<double>(mallinfo2().uordblks);
    scene.setAttr(system + ".active", 0.0);
    scene.evaluate(system + ".outFeatherMesh"); // an inactive system drops its feathers
    node.builtFeathers();
    const double emptied = static_cast<double>(mallinfo2().uordblks);
    scene.setAttr(system + ".active", 1.0);

    const double iterations = static_cast<double>(state.iterations());
    state.counters["workers"] = workers;
    state.counters["feathers"] = count;
    state.counters["parallel_ms"] = 1e3 * parallelSeconds / iterations;
    state.counters["one_worker_ms"] = 1e3 * oneSeconds / iterations;
    state.counters["speedup"] = oneSeconds / parallelSeconds;
    state.counters["points_per_s_per_core"] = points * iterations / oneSeconds;
    state.counters["heap_bytes_per_feather"] = (held - emptied) / count;
    state.counters["counted_bytes_per_feather"] = static_cast<double>(counted) / count;
}
BENCHMARK(BM_WorkerSpeedup)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
