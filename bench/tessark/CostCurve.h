#pragma once
// The cost curve's fixtures: source surfaces of 100k, 1M and 10M triangles,
// each built once per process with its ray structure and shared by every
// benchmark (and every scene) that uses it, each with a plain Embree copy of
// its triangles for the lower bound; and the meter that times an action and
// its lower bound in the same run.

#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "bench/host/DirectEmbree.h"
#include "host/src/mesh/MeshGeometry.h"

namespace bench {

//! The height of every surface of the session at (x, z).
inline double height(double x, double z) {
    return 0.3 * std::sin(0.7 * x) * std::cos(0.5 * z);
}

//! A source surface: n x n quads over [-50, 50]^2 on the height field
//! (2 n^2 triangles), its BVH built.
struct SourceSurface {
    int side = 0;
    std::shared_ptr<const MeshGeometry> geometry;
    std::unique_ptr<DirectEmbree> embree;  // the lower bound's own copy
};

//! The surface of about that many triangles, built on first use and kept for
//! the process: a ten-million-triangle fixture takes seconds to build.
inline const SourceSurface& sourceSurface(long triangles) {
    static std::map<long, SourceSurface> built;
    auto [it, fresh] = built.try_emplace(triangles);
    if (!fresh) return it->second;
    SourceSurface& s = it->second;
    s.side = static_cast<int>(std::lround(std::sqrt(triangles / 2.0)));
    const int n = s.side;
    std::vector<Vec3> points;
    points.reserve(static_cast<std::size_t>(n + 1) * (n + 1));
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            const double x = -50 + 100.0 * i / n, z = -50 + 100.0 * j / n;
            points.push_back({x, height(x, z), z});
        }
    std::vector<int> counts(static_cast<std::size_t>(n) * n, 4), connects;
    connects.reserve(4 * counts.size());
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const int a = j * (n + 1) + i;
            connects.insert(connects.end(), {a, a + n + 1, a + n + 2, a + 1});
        }
    auto g = std::make_shared<MeshGeometry>();
    g->create(std::move(points), std::move(counts), std::move(connects));
    g->prepareQueries();
    s.embree = std::make_unique<DirectEmbree>(*g, [](const Vec3& p) { return p; });
    s.geometry = std::move(g);
    return s;
}

//! The process's CPU time in seconds. Actions and their bounds are measured
//! on it: the benchmarks share their machine, and time other programs take
//! would count against both otherwise.
inline double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

//! Times one action per iteration (wall time as the benchmark's manual time,
//! CPU time for the figures) and, after it, the raw work it cannot do without
//! (its lower bound), repeated to last long enough to be timed. Counters:
//! ms (CPU per action), bound_ms (CPU per lower bound), ratio.
class CostMeter {
public:
    explicit CostMeter(benchmark::State& state) : state_(state) {}

    template <class Action>
    void action(Action&& run) {
        const auto wall = std::chrono::steady_clock::now();
        const double cpu = cpuSeconds();
        run();
        actionCpu_ += cpuSeconds() - cpu;
        state_.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count());
        ++actions_;
    }

    template <class Bound>
    void bound(Bound&& run) {
        if (repeats_ == 0) {
            // A single ray takes a microsecond: repeat it to about 50 us.
            const double start = cpuSeconds();
            run();
            const double once = std::max(cpuSeconds() - start, 1e-8);
            repeats_ = std::clamp(static_cast<int>(50e-6 / once), 1, 10000);
        }
        const double start = cpuSeconds();
        for (int k = 0; k < repeats_; ++k) run();
        boundCpu_ += (cpuSeconds() - start) / repeats_;
        ++bounds_;
    }

    void report() {
        const double ms = actions_ ? 1e3 * actionCpu_ / actions_ : 0;
        const double bound = bounds_ ? 1e3 * boundCpu_ / bounds_ : 0;
        state_.counters["ms"] = ms;
        state_.counters["bound_ms"] = bound;
        state_.counters["ratio"] = bound > 0 ? ms / bound : 0;
    }

private:
    benchmark::State& state_;
    double actionCpu_ = 0, boundCpu_ = 0;
    long actions_ = 0, bounds_ = 0;
    int repeats_ = 0;
};

//! One copy of a mesh's arrays: the least an edit that keeps the previous
//! mesh for undo, or a draw that reads all of it, can cost.
inline void copyArrays(const MeshGeometry& g) {
    std::vector<Vec3> points(g.points());
    std::vector<int> counts(g.polygonCounts()), connects(g.polygonConnects());
    benchmark::DoNotOptimize(points.data());
    benchmark::DoNotOptimize(counts.data());
    benchmark::DoNotOptimize(connects.data());
}

//! Rays straight down onto the source through an nu x nv grid of points over
//! [x0, x1] x [z0, z1]: what snapping a patch of that many vertices asks.
inline void gridRays(const DirectEmbree& embree, int nu, int nv, double x0, double x1, double z0,
                     double z1) {
    for (int j = 0; j < nv; ++j)
        for (int i = 0; i < nu; ++i) {
            const double x = x0 + (x1 - x0) * i / (nu - 1), z = z0 + (z1 - z0) * j / (nv - 1);
            benchmark::DoNotOptimize(
                embree.closest({float(x), 10.0f, float(z)}, {0, -1, 0}, 100.0f));
        }
}

}  // namespace bench
