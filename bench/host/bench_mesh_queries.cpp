// Ray and closest-point queries of MeshGeometry on a million-triangle mesh,
// against plain Embree calls on the same triangles and the same rays, timed
// back to back in the same iterations. Counters: ns_per_query (ours),
// embree_ns_per_query, ratio_vs_embree, bvh_builds (during the timed loop).

#include "bench/host/MeshFixtures.h"

#include <benchmark/benchmark.h>
#include <embree3/rtcore.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>

namespace {

using bench::MeshGeometry;
using bench::Ray;
using bench::Vec3;
using Clock = std::chrono::steady_clock;

constexpr int kRays = 4096;

// ---- Plain Embree over the same fan triangles ----------------------------------

struct F3 {
    float x, y, z;
};
F3 operator-(F3 a, F3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
F3 operator+(F3 a, F3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
F3 operator*(F3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
float dot(F3 a, F3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Ericson's closest point on a triangle, in float as a plain Embree user would write it.
F3 closestOnTriangle(F3 p, F3 a, F3 b, F3 c) {
    const F3 ab = b - a, ac = c - a, ap = p - a;
    const float d1 = dot(ab, ap), d2 = dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) return a;
    const F3 bp = p - b;
    const float d3 = dot(ab, bp), d4 = dot(ac, bp);
    if (d3 >= 0 && d4 <= d3) return b;
    const float vc = d1 * d4 - d3 * d2;
    if (vc <= 0 && d1 >= 0 && d3 <= 0) return a + ab * (d1 / (d1 - d3));
    const F3 cp = p - c;
    const float d5 = dot(ab, cp), d6 = dot(ac, cp);
    if (d6 >= 0 && d5 <= d6) return c;
    const float vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0) return a + ac * (d2 / (d2 - d6));
    const float va = d3 * d6 - d5 * d4;
    if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0)
        return b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
    const float denom = 1 / (va + vb + vc);
    return a + ab * (vb * denom) + ac * (vc * denom);
}

struct CollectContext {
    RTCIntersectContext embree;
    std::vector<unsigned>* hits;
};

void collectAll(const RTCFilterFunctionNArguments* args) {
    auto* ctx = reinterpret_cast<CollectContext*>(args->context);
    for (unsigned i = 0; i < args->N; ++i) {
        if (args->valid[i] != -1) continue;
        ctx->hits->push_back(RTCHitN_primID(args->hit, args->N, i));
        args->valid[i] = 0;
    }
}

struct PointState {
    const std::vector<F3>* vertices;
    const std::vector<std::uint32_t>* indices;
    F3 p;
    float best2;
    unsigned prim;
};

bool visitTriangle(RTCPointQueryFunctionArguments* args) {
    auto* s = static_cast<PointState*>(args->userPtr);
    const std::uint32_t* t = s->indices->data() + 3 * args->primID;
    const auto& v = *s->vertices;
    const F3 c = closestOnTriangle(s->p, v[t[0]], v[t[1]], v[t[2]]);
    const float d2 = dot(c - s->p, c - s->p);
    if (d2 >= s->best2) return false;
    s->best2 = d2;
    s->prim = args->primID;
    args->query->radius = std::sqrt(d2);
    return true;
}

// The mesh's triangles in a scene of its own, built the way a direct Embree
// user would (same local origin, default flags plus the context filter the
// all-hits query needs).
class DirectEmbree {
public:
    explicit DirectEmbree(const MeshGeometry& mesh) : origin_(mesh.boundingBox().center()) {
        for (const Vec3& p : mesh.points()) {
            const Vec3 l = p - origin_;
            vertices_.push_back({float(l.x), float(l.y), float(l.z)});
        }
        vertices_.push_back({0, 0, 0});  // Embree reads 16 bytes at a time
        for (int f = 0; f < mesh.numFaces(); ++f)
            for (int t = 0; t < mesh.numFaceTriangles(f); ++t) {
                for (int v : mesh.faceTriangleVertices(f, t)) indices_.push_back(std::uint32_t(v));
                primFace_.push_back(f);
            }
        device_ = rtcNewDevice(nullptr);
        scene_ = rtcNewScene(device_);
        rtcSetSceneFlags(scene_, RTC_SCENE_FLAG_CONTEXT_FILTER_FUNCTION);
        RTCGeometry g = rtcNewGeometry(device_, RTC_GEOMETRY_TYPE_TRIANGLE);
        rtcSetSharedGeometryBuffer(g, RTC_BUFFER_TYPE_VERTEX, 0, RTC_FORMAT_FLOAT3,
                                   vertices_.data(), 0, sizeof(F3), vertices_.size() - 1);
        rtcSetSharedGeometryBuffer(g, RTC_BUFFER_TYPE_INDEX, 0, RTC_FORMAT_UINT3, indices_.data(),
                                   0, 3 * sizeof(std::uint32_t), indices_.size() / 3);
        rtcCommitGeometry(g);
        rtcAttachGeometry(scene_, g);
        rtcReleaseGeometry(g);
        rtcCommitScene(scene_);
    }
    ~DirectEmbree() {
        rtcReleaseScene(scene_);
        rtcReleaseDevice(device_);
    }

    RTCRayHit ray(const Ray& r, float far) const {
        RTCRayHit rh{};
        const Vec3 o = r.origin - origin_;
        rh.ray.org_x = float(o.x);
        rh.ray.org_y = float(o.y);
        rh.ray.org_z = float(o.z);
        rh.ray.dir_x = float(r.dir.x);
        rh.ray.dir_y = float(r.dir.y);
        rh.ray.dir_z = float(r.dir.z);
        rh.ray.tfar = far;
        rh.ray.mask = 0xffffffffu;
        rh.hit.geomID = RTC_INVALID_GEOMETRY_ID;
        return rh;
    }
    int face(unsigned prim) const { return primFace_[prim]; }
    unsigned closest(const Ray& r, float far) const {
        RTCIntersectContext ctx;
        rtcInitIntersectContext(&ctx);
        RTCRayHit rh = ray(r, far);
        rtcIntersect1(scene_, &ctx, &rh);
        return rh.hit.geomID == RTC_INVALID_GEOMETRY_ID ? RTC_INVALID_GEOMETRY_ID : rh.hit.primID;
    }
    std::size_t all(const Ray& r, float far, std::vector<unsigned>& hits) const {
        hits.clear();
        CollectContext ctx;
        rtcInitIntersectContext(&ctx.embree);
        ctx.embree.filter = collectAll;
        ctx.hits = &hits;
        RTCRayHit rh = ray(r, far);
        rtcIntersect1(scene_, &ctx.embree, &rh);
        return hits.size();
    }
    unsigned closestPoint(const Vec3& p) const {
        const Vec3 l = p - origin_;
        PointState state{&vertices_,
                         &indices_,
                         {float(l.x), float(l.y), float(l.z)},
                         INFINITY,
                         RTC_INVALID_GEOMETRY_ID};
        RTCPointQuery query;
        query.x = state.p.x;
        query.y = state.p.y;
        query.z = state.p.z;
        query.time = 0;
        query.radius = INFINITY;
        RTCPointQueryContext ctx;
        rtcInitPointQueryContext(&ctx);
        rtcPointQuery(scene_, &query, &ctx, visitTriangle, &state);
        return state.prim;
    }

private:
    Vec3 origin_;
    std::vector<F3> vertices_;
    std::vector<std::uint32_t> indices_;
    std::vector<int> primFace_;
    RTCDevice device_ = nullptr;
    RTCScene scene_ = nullptr;
};

const DirectEmbree& directEmbree() {
    static const DirectEmbree direct(bench::millionTriangleSphere());
    return direct;
}

const std::vector<Ray>& rays() {
    static const std::vector<Ray> r = bench::sphereRays(kRays);
    return r;
}

// Runs both sides over the same inputs in every iteration; only ours is the
// benchmark's time, the Embree side feeds the ratio.
template <class Ours, class Direct>
void compareWithEmbree(benchmark::State& state, std::size_t count, Ours&& ours, Direct&& direct) {
    const MeshGeometry& mesh = bench::millionTriangleSphere();
    mesh.prepareQueries();
    const auto buildsBefore = MeshGeometry::totalBvhBuilds();
    double oursSeconds = 0, directSeconds = 0;
    std::size_t queries = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (std::size_t i = 0; i < count; ++i) ours(i);
        const auto t1 = Clock::now();
        for (std::size_t i = 0; i < count; ++i) direct(i);
        const auto t2 = Clock::now();
        const double a = std::chrono::duration<double>(t1 - t0).count();
        state.SetIterationTime(a);
        oursSeconds += a;
        directSeconds += std::chrono::duration<double>(t2 - t1).count();
        queries += count;
    }
    state.counters["ns_per_query"] = oursSeconds / double(queries) * 1e9;
    state.counters["embree_ns_per_query"] = directSeconds / double(queries) * 1e9;
    state.counters["ratio_vs_embree"] = oursSeconds / directSeconds;
    state.counters["bvh_builds"] = double(MeshGeometry::totalBvhBuilds() - buildsBefore);
    state.counters["triangles"] = 998000;
}

void BM_ClosestIntersection_1M(benchmark::State& state) {
    const MeshGeometry& mesh = bench::millionTriangleSphere();
    const DirectEmbree& direct = directEmbree();
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
    const DirectEmbree& direct = directEmbree();
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
    const DirectEmbree& direct = directEmbree();
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
    const DirectEmbree& direct = directEmbree();
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
