// Building and editing MeshGeometry: create, addPolygon with merging (the cost
// per quad must stay flat as the mesh grows), topology and normals.

#include "bench/host/MeshFixtures.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using bench::MeshGeometry;
using bench::Vec3;

// Appends an n-quad grid (side sqrt(n)) one quad at a time, each corner merged
// against everything added so far, as the patch builder does. Corners carry a
// little rounding noise so merging really has to search. With merging off the
// same loop shows what the mesh arrays alone cost at each size.
void appendGrid(benchmark::State& state, bool merge) {
    const int side = static_cast<int>(std::lround(std::sqrt(double(state.range(0)))));
    const int quads = side * side;
    for (auto _ : state) {
        MeshGeometry mesh;
        for (int j = 0; j < side; ++j) {
            for (int i = 0; i < side; ++i) {
                const double x = i, y = j, noise = 1e-7 * ((i * 7 + j * 3) % 5);
                const std::vector<Vec3> quad = {{x + noise, y + noise, 0},
                                                {x + 1 + noise, y, 0},
                                                {x + 1, y + 1 + noise, 0},
                                                {x, y + 1, noise}};
                benchmark::DoNotOptimize(mesh.addPolygon(quad, merge, 1e-3));
            }
        }
        if (merge && mesh.numVertices() != (side + 1) * (side + 1))
            state.SkipWithError("merging failed");
    }
    state.counters["quads"] = quads;
    state.counters["time_per_quad"] = benchmark::Counter(
        double(quads), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_AddPolygonMerging(benchmark::State& state) {
    appendGrid(state, true);
}
BENCHMARK(BM_AddPolygonMerging)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

void BM_AddPolygonNoMerging(benchmark::State& state) {
    appendGrid(state, false);
}
BENCHMARK(BM_AddPolygonNoMerging)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

void BM_Create100kQuads(benchmark::State& state) {
    const bench::PolygonArrays grid = bench::quadGrid(316);  // 99,856 quads
    for (auto _ : state) {
        MeshGeometry mesh;
        benchmark::DoNotOptimize(mesh.create(grid.points, grid.counts, grid.connects));
    }
    state.counters["quads"] = double(grid.counts.size());
}
BENCHMARK(BM_Create100kQuads)->Unit(benchmark::kMillisecond);

// Lazily derived data on the million-triangle sphere, built from scratch.
void BM_Topology_1M(benchmark::State& state) {
    const MeshGeometry& sphere = bench::millionTriangleSphere();
    for (auto _ : state) {
        state.PauseTiming();
        MeshGeometry copy;
        copy.create(sphere.points(), sphere.polygonCounts(), sphere.polygonConnects());
        state.ResumeTiming();
        benchmark::DoNotOptimize(copy.numEdges());
    }
}
BENCHMARK(BM_Topology_1M)->Unit(benchmark::kMillisecond);

void BM_FaceVertexNormalsWithHardEdges_1M(benchmark::State& state) {
    const MeshGeometry& sphere = bench::millionTriangleSphere();
    MeshGeometry hard = sphere;
    std::vector<int> edges, flags;
    for (int e = 0; e < hard.numEdges(); e += 10) {
        edges.push_back(e);
        flags.push_back(0);
    }
    hard.setEdgeSmoothings(edges, flags);
    for (auto _ : state) {
        state.PauseTiming();
        MeshGeometry copy = hard;
        copy.setPoints(hard.points());  // drops the normals, keeps topology
        state.ResumeTiming();
        benchmark::DoNotOptimize(copy.faceVertexNormals().data());
    }
    state.counters["hard_edges"] = double(edges.size());
}
BENCHMARK(BM_FaceVertexNormalsWithHardEdges_1M)->Unit(benchmark::kMillisecond);

}  // namespace
