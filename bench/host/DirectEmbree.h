#pragma once
// Plain Embree over a mesh's fan triangles, as a direct Embree user would
// write it, and the timing that runs our queries and these back to back: the
// yardstick of the query benchmarks (kernel and API).

#include <benchmark/benchmark.h>
#include <embree3/rtcore.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

#include "bench/host/MeshFixtures.h"

namespace bench {

struct F3 {
    float x, y, z;
};
inline F3 operator-(F3 a, F3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline F3 operator+(F3 a, F3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline F3 operator*(F3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline float dot(F3 a, F3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
//! Any point or vector with x, y and z, rounded to float.
template <class P>
F3 toF3(const P& p) {
    return {float(p.x), float(p.y), float(p.z)};
}

// Ericson's closest point on a triangle, in float as a plain Embree user would write it.
inline F3 closestOnTriangle(F3 p, F3 a, F3 b, F3 c) {
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

namespace embree_callbacks {

struct CollectContext {
    RTCIntersectContext embree;
    std::vector<unsigned>* hits;
};

inline void collectAll(const RTCFilterFunctionNArguments* args) {
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

inline bool visitTriangle(RTCPointQueryFunctionArguments* args) {
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

}  // namespace embree_callbacks

//! A mesh's triangles in an Embree scene of their own, built the way a direct
//! Embree user would (default flags plus the context filter the all-hits
//! query needs). Each mesh point is carried where the scene wants it by
//! place(point) (a local origin, a world transform); queries are given in
//! the scene's coordinates.
class DirectEmbree {
public:
    template <class Place>
    DirectEmbree(const MeshGeometry& mesh, Place&& place) {
        for (const Vec3& p : mesh.points()) vertices_.push_back(toF3(place(p)));
        vertices_.push_back({0, 0, 0});  // Embree reads 16 bytes at a time
        for (int f = 0; f < mesh.numFaces(); ++f)
            for (int t = 0; t < mesh.numFaceTriangles(f); ++t) {
                for (int v : mesh.faceTriangleVertices(f, t)) indices_.push_back(std::uint32_t(v));
                primFace_.push_back(f);
            }
        build();
    }
    DirectEmbree(const DirectEmbree&) = delete;
    DirectEmbree& operator=(const DirectEmbree&) = delete;
    ~DirectEmbree() {
        rtcReleaseScene(scene_);
        rtcReleaseDevice(device_);
    }

    //! The mesh face a triangle belongs to.
    int face(unsigned prim) const { return primFace_[prim]; }

    //! The nearest triangle hit, or RTC_INVALID_GEOMETRY_ID.
    unsigned closest(F3 origin, F3 dir, float far) const {
        RTCIntersectContext ctx;
        rtcInitIntersectContext(&ctx);
        RTCRayHit rh = ray(origin, dir, far);
        rtcIntersect1(scene_, &ctx, &rh);
        return rh.hit.geomID == RTC_INVALID_GEOMETRY_ID ? RTC_INVALID_GEOMETRY_ID : rh.hit.primID;
    }

    //! Every triangle hit, into hits; returns how many.
    std::size_t all(F3 origin, F3 dir, float far, std::vector<unsigned>& hits) const {
        hits.clear();
        embree_callbacks::CollectContext ctx;
        rtcInitIntersectContext(&ctx.embree);
        ctx.embree.filter = embree_callbacks::collectAll;
        ctx.hits = &hits;
        RTCRayHit rh = ray(origin, dir, far);
        rtcIntersect1(scene_, &ctx.embree, &rh);
        return hits.size();
    }

    //! The triangle nearest to a point.
    unsigned closestPoint(F3 p) const {
        embree_callbacks::PointState state{&vertices_, &indices_, p, INFINITY,
                                           RTC_INVALID_GEOMETRY_ID};
        RTCPointQuery query;
        query.x = p.x;
        query.y = p.y;
        query.z = p.z;
        query.time = 0;
        query.radius = INFINITY;
        RTCPointQueryContext ctx;
        rtcInitPointQueryContext(&ctx);
        rtcPointQuery(scene_, &query, &ctx, embree_callbacks::visitTriangle, &state);
        return state.prim;
    }

private:
    void build() {
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

    static RTCRayHit ray(F3 origin, F3 dir, float far) {
        RTCRayHit rh{};
        rh.ray.org_x = origin.x;
        rh.ray.org_y = origin.y;
        rh.ray.org_z = origin.z;
        rh.ray.dir_x = dir.x;
        rh.ray.dir_y = dir.y;
        rh.ray.dir_z = dir.z;
        rh.ray.tfar = far;
        rh.ray.mask = 0xffffffffu;
        rh.hit.geomID = RTC_INVALID_GEOMETRY_ID;
        return rh;
    }

    std::vector<F3> vertices_;
    std::vector<std::uint32_t> indices_;
    std::vector<int> primFace_;
    RTCDevice device_ = nullptr;
    RTCScene scene_ = nullptr;
};

//! Runs ours(i) and then direct(i) for i < count in every iteration; only
//! ours is the benchmark's time, the Embree side feeds the ratio. Counters:
//! ns_per_query, embree_ns_per_query, ratio_vs_embree, bvh_builds (during
//! the timed loop: prepare the queries before).
template <class Ours, class Direct>
void timeAgainstEmbree(benchmark::State& state, std::size_t count, Ours&& ours, Direct&& direct) {
    using Clock = std::chrono::steady_clock;
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
}

}  // namespace bench
