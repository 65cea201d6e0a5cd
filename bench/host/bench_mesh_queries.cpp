// Ray and closest-point queries of MeshGeometry on a million-triangle mesh,
// against plain Embree calls on the same triangles and the same rays, timed
// back to back in the same iterations. Counters: ns_per_query (ours),
// embree_ns_per_query, ratio_vs_embree, bvh_builds (during the timed loop).

#include <benchmark/benchmark.h>

#include "bench/host/DirectEmbree.h"
#include "bench/host/MeshFixtures.h"

namespace {

using bench::F3;
using bench::MeshGeometry;
using bench::Ray;
using bench::toF3;
using bench::Vec3;

constexpr int kRays = 4096;

// Plain Embree over the same triangles, around the mesh's centre as a direct
// user would place them for float precision.
class LocalEmbree {
public:
    explicit LocalEmbree(const MeshGeometry& mesh)
        : origin_(mesh.boundingBox().center()),
          scene_(mesh, [this](const Vec3& p) { return p - origin_; }) {}

    int face(unsigned prim) const { return scene_.face(prim); }
    unsigned closest(const Ray& r, float far) const {
        return scene_.closest(local(r.origin), toF3(r.dir), far);
    }
    std::size_t all(const Ray& r, float far, std::vector<unsigned>& hits) const {
        return scene_.all(local(r.origin), toF3(r.dir), far, hits);
    }
    unsigned closestPoint(const Vec3& p) const { return scene_.closestPoint(local(p)); }

private:
    F3 local(const Vec3& p) const { return toF3(p - origin_); }

    Vec3 origin_;
    bench::DirectEmbree scene_;
};

const LocalEmbree& directEmbree() {
    static const LocalEmbree direct(bench::millionTriangleSphere());
    return direct;
}

const std::vector<Ray>& rays() {
    static const std::vector<Ray> r = bench::sphereRays(kRays);
    return r;
}

// Both sides over the same inputs, on the sphere with its BVH built.
template <class Ours, class Direct>
void compareWithEmbree(benchmark::State& state, std::size_t count, Ours&& ours, Direct&& direct) {
    bench::millionTriangleSphere().prepareQueries();
    bench::timeAgainstEmbree(state, count, ours, direct);
    state.counters["triangles"] = 998000;
}

void BM_ClosestIntersection_1M(benchmark::State& state) {
    const MeshGeometry& mesh = bench::millionTriangleSphere();
    const LocalEmbree& direct = directEmbree();
    const auto& r = rays();
    // How often both sides agree on the hit face (edges may legitimately differ).
    int agree = 0;
    mesh.prepareQueries();
    for (const Ray& ray : r) {
        const auto hit = mesh.closestIntersection(ray.origin, ray.dir, 10);
        const unsigned prim = direct.closest(ray, 10);
        agree += hit.hit && prim != RTC_INVALID_GEOMETRY_ID && hit.face == direct.face(prim);
    }
    compareWithEmbree(
        state, r.size(),
        [&](std::size_t i) {
            benchmark::DoNotOptimize(mesh.closestIntersection(r[i].origin, r[i].dir, 10));
        },
        [&](std::size_t i) { benchmark::DoNotOptimize(direct.closest(r[i], 10)); });
    state.counters["hits_agreeing"] = double(agree) / double(r.size());
}
BENCHMARK(BM_ClosestIntersection_1M)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_ClosestIntersectionBothDirections_1M(benchmark::State& state) {
    const MeshGeometry& mesh = bench::millionTriangleSphere();
    const LocalEmbree& direct = directEmbree();
    const auto& r = rays();
    // Embree's counterpart: one ray each way.
    compareWithEmbree(
        state, r.size(),
        [&](std::size_t i) {
            benchmark::DoNotOptimize(mesh.closestIntersection(r[i].origin, r[i].dir, 10, true));
        },
        [&](std::size_t i) {
            benchmark::DoNotOptimize(direct.closest(r[i], 10));
            benchmark::DoNotOptimize(direct.closest({r[i].origin, -r[i].dir}, 10));
        });
}
BENCHMARK(BM_ClosestIntersectionBothDirections_1M)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_AllIntersections_1M(benchmark::State& state) {
    const MeshGeometry& mesh = bench::millionTriangleSphere();
    const LocalEmbree& direct = directEmbree();
    const auto& r = rays();
    std::vector<unsigned> scratch;
    std::size_t ourHits = 0, embreeHits = 0;
    for (const Ray& ray : r) {
        ourHits += mesh.allIntersections(ray.origin, ray.dir, 10).size();
        embreeHits += direct.all(ray, 10, scratch);
    }
    compareWithEmbree(
        state, r.size(),
        [&](std::size_t i) {
            benchmark::DoNotOptimize(mesh.allIntersections(r[i].origin, r[i].dir, 10));
        },
        [&](std::size_t i) { benchmark::DoNotOptimize(direct.all(r[i], 10, scratch)); });
    state.counters["hits_per_ray"] = double(ourHits) / double(r.size());
    state.counters["embree_hits_per_ray"] = double(embreeHits) / double(r.size());
}
BENCHMARK(BM_AllIntersections_1M)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_ClosestPoint_1M(benchmark::State& state) {
    const MeshGeometry& mesh = bench::millionTriangleSphere();
    const LocalEmbree& direct = directEmbree();
    static const std::vector<Vec3> points = bench::shellPoints(kRays);
    compareWithEmbree(
        state, points.size(),
        [&](std::size_t i) { benchmark::DoNotOptimize(mesh.closestPoint(points[i])); },
        [&](std::size_t i) { benchmark::DoNotOptimize(direct.closestPoint(points[i])); });
}
BENCHMARK(BM_ClosestPoint_1M)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The same query again and again: the BVH built before the loop serves all of
// them (bvh_builds stays 0).
void BM_RepeatedQueryNeverRebuilds_1M(benchmark::State& state) {
    const MeshGeometry& mesh = bench::millionTriangleSphere();
    mesh.prepareQueries();
    const auto before = mesh.bvhBuildCount();
    const Ray ray = rays()[7];
    for (auto _ : state)
        benchmark::DoNotOptimize(mesh.closestIntersection(ray.origin, ray.dir, 10));
    state.counters["bvh_builds"] = double(mesh.bvhBuildCount() - before);
}
BENCHMARK(BM_RepeatedQueryNeverRebuilds_1M);

// What one rebuild costs (paid once per mesh version).
void BM_BvhBuild_1M(benchmark::State& state) {
    const MeshGeometry& mesh = bench::millionTriangleSphere();
    for (auto _ : state) {
        state.PauseTiming();
        auto copy = std::make_unique<MeshGeometry>(mesh);
        copy->setPoints(mesh.points());  // a new geometry version
        state.ResumeTiming();
        copy->prepareQueries();
        state.PauseTiming();
        copy.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BvhBuild_1M)->Unit(benchmark::kMillisecond);

}  // namespace
