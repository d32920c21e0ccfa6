// Throughput of the two final builds at the feather node's attribute defaults, with 100
// barbules of 9 points (barbuleSegments 8). The node creates its ramps without entries; the
// ramps here are the test scaffolding's (density, length, force and thickness scales 1, rotate
// ramps 0.5, rachis thickness 1 to 0.2), so every barbule is built.
//
// Reported: barbule points built per second (items_per_second) and the bytes one built
// featherGeometry holds (bytes_per_feather: the record plus its array contents by length).

#include "featherFixtures.h"

#include "feather/barbules.h"
#include "feather/featherGeometry.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

template <typename Array> size_t arrayBytes(const Array& a) {
    return a.length() * sizeof(a[0]);
}

template <typename Array> size_t arraysBytes(const std::vector<Array>& v) {
    size_t bytes = v.size() * sizeof(Array);
    for (const Array& a : v) {
        bytes += arrayBytes(a);
    }
    return bytes;
}

size_t meshBytes(const featherMeshData& m) {
    return arrayBytes(m.polygonCounts) + arrayBytes(m.polygonConnects) + arrayBytes(m.points) +
           arrayBytes(m.uArray) + arrayBytes(m.vArray) + arrayBytes(m.uvIds);
}

size_t geometryBytes(const featherGeometry& g) {
    return sizeof(featherGeometry) + arrayBytes(g.rachisPoints) + arrayBytes(g.rachisThickness) +
           arrayBytes(g.rachisNormals) + arraysBytes(g.leftBarbules) + arrayBytes(g.leftPositions) +
           arrayBytes(g.leftLengths) + arraysBytes(g.leftNormals) + arrayBytes(g.leftThickness) +
           arraysBytes(g.rightBarbules) + arrayBytes(g.rightPositions) +
           arrayBytes(g.rightLengths) + arraysBytes(g.rightNormals) + arrayBytes(g.rightThickness) +
           arrayBytes(g.barbuleThickness) + meshBytes(g.rachisMesh) + meshBytes(g.barbuleMesh);
}

size_t barbulePoints(const featherGeometry& g) {
    size_t points = 0;
    for (const auto* side : {&g.leftBarbules, &g.rightBarbules}) {
        for (const MFloatPointArray& curve : *side) {
            points += curve.length();
        }
    }
    return points;
}

struct benchFeather {
    benchFeather() {
        node = fixtures::createRampNode();
        fixtures::defaultDescription(info, node);
        generator.info = &info;
        path = fixtures::curvedPath(info.rachisPointCount);
        surface = fixtures::domeSurface();
    }
    MObject node;
    featherInfo info;
    featherGenerator generator;
    turtlePath path;
    MObject surface;
};

benchFeather& shared() {
    static benchFeather feather;
    return feather;
}

void report(benchmark::State& state, const featherGeometry& g) {
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * barbulePoints(g)));
    state.counters["bytes_per_feather"] = static_cast<double>(geometryBytes(g));
    state.counters["barbule_points"] = static_cast<double>(barbulePoints(g));
}

void BM_buildFeather(benchmark::State& state) {
    benchFeather& f = shared();
    f.info.outputFeatherMesh = state.range(0) != 0;
    featherGeometry g;
    for (auto _ : state) {
        g.clear();
        benchmark::DoNotOptimize(buildFeather(f.generator, f.path, g, 17));
    }
    report(state, g);
    f.info.outputFeatherMesh = false;
}

void BM_buildSurfaceFeather(benchmark::State& state) {
    benchFeather& f = shared();
    f.info.outputFeatherMesh = state.range(0) != 0;
    featherGeometry g;
    for (auto _ : state) {
        g.clear();
        benchmark::DoNotOptimize(buildSurfaceFeather(f.generator, f.surface, g, 0));
    }
    report(state, g);
    f.info.outputFeatherMesh = false;
}

} // namespace

// Argument: outputFeatherMesh (0 is the node's default).
BENCHMARK(BM_buildFeather)->ArgName("mesh")->Arg(0)->Arg(1);
BENCHMARK(BM_buildSurfaceFeather)->ArgName("mesh")->Arg(0)->Arg(1);

BENCHMARK_MAIN();
