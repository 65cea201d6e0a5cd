#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "geometry/polygon_mesh.h"
#include "geometry/rail_grid.h"
#include "geometry/resample.h"

namespace {

using geo::Point;
using geo::Polyline;

// A wavy stroke across the surface, as the mouse leaves it: n unevenly spaced points.
Polyline wavyStroke(int n, double y) {
    Polyline stroke;
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / (n - 1);
        const double x = 10.0 * t * t * (3 - 2 * t);
        stroke.push_back({x, y + 0.3 * std::sin(6 * x), 0.1 * std::cos(3 * x)});
    }
    return stroke;
}

Polyline circle(int n) {
    Polyline loop;
    for (int k = 0; k < n; ++k) {
        const double angle = 2 * std::numbers::pi * k / (n - 1);
        loop.push_back({std::cos(angle), std::sin(angle), 0});
    }
    return loop;
}

void resampleOpen(benchmark::State& state) {
    const Polyline stroke = wavyStroke(int(state.range(0)), 0);
    for (auto _ : state) benchmark::DoNotOptimize(geo::resampleStroke(stroke, 12));
}
BENCHMARK(resampleOpen)->Arg(200)->Arg(5000);

// A closed circle that reaches its count after the step search.
void resampleClosed(benchmark::State& state) {
    const Polyline loop = circle(101);
    for (auto _ : state)
        benchmark::DoNotOptimize(geo::resampleStroke(loop, 8, [] { return true; }));
}
BENCHMARK(resampleClosed)->Unit(benchmark::kMillisecond);

// The worst case: one point is never returned, so all 100000 passes run.
void resampleClosedNeverExact(benchmark::State& state) {
    const Polyline loop = circle(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(geo::resampleStroke(loop, 1, [] { return true; }));
}
BENCHMARK(resampleClosedNeverExact)->Arg(101)->Arg(1000)->Unit(benchmark::kMillisecond);

// A patch of span x span quads between two drawn strokes, merged in the spatial-hash sink.
void railGrid(benchmark::State& state) {
    const auto spans = static_cast<std::uint32_t>(state.range(0));
    const std::vector<Polyline> rails{wavyStroke(400, 0), wavyStroke(400, 5)};
    geo::RailGridSettings settings;
    settings.uSpans = spans;
    settings.vSpans = spans;
    for (auto _ : state) {
        geo::MergingMeshSink sink;
        std::vector<int> faces;
        benchmark::DoNotOptimize(geo::buildRailGrid(rails, {}, settings, sink, faces));
        benchmark::DoNotOptimize(sink.mesh());
    }
    state.counters["quads"] = double(spans) * spans;
}
BENCHMARK(railGrid)->Arg(12)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace
