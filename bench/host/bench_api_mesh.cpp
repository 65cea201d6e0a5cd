// The mesh API on top of the kernel: ray and closest-point queries through
// MFnMesh on a million-triangle mesh shape under a transform, in world space,
// against plain Embree on the same (world-space) triangles and rays timed back
// to back; BVH reuse across API queries; merging addPolygon through MFnMesh on
// a shape as the mesh grows; MFnMesh::create of a 100k-quad mesh.
//
// Counters: ns_per_query (ours), embree_ns_per_query, ratio_vs_embree,
// bvh_builds (during the timed loop), time_per_quad, geometry_copies.

#include <maya/MFloatPointArray.h>
#include <maya/MFnMesh.h>
#include <maya/MFnMeshData.h>
#include <maya/MFnTransform.h>

#include <benchmark/benchmark.h>

#include <cmath>

#include "bench/host/DirectEmbree.h"
#include "bench/host/HostSession.h"
#include "bench/host/MeshFixtures.h"
#include "host/src/dag/DagOps.h"
#include "host/src/nodes/MeshShape.h"

namespace {

using bench::MeshGeometry;
using bench::toF3;
using bench::Vec3;

constexpr int kQueries = 4096;

//! Takes a benchmark's mesh out of the scene again (the sphere stays).
void remove(const MObject& node) {
    ehost::removeNodes({ehost::ApiAccess::as<ehost::Node>(node).get()});
}

MPointArray toPointArray(const std::vector<Vec3>& points) {
    MPointArray out;
    out.setLength(static_cast<unsigned>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i)
        out[static_cast<unsigned>(i)] = MPoint(points[i].x, points[i].y, points[i].z);
    return out;
}

MIntArray toIntArray(const std::vector<int>& values) {
    MIntArray out;
    out.setLength(static_cast<unsigned>(values.size()));
    std::copy(values.begin(), values.end(), out.begin());
    return out;
}

// ---- The million-triangle sphere as a mesh shape under a transform -------------

struct ShapeUnderTransform {
    MDagPath path;
    MMatrix world;  // object to world, row vectors
};

Vec3 transformPoint(const MMatrix& m, const Vec3& p) {
    const MPoint q = MPoint(p.x, p.y, p.z) * m;
    return {q.x, q.y, q.z};
}

Vec3 transformVector(const MMatrix& m, const Vec3& v) {
    const MVector w = MVector(v.x, v.y, v.z) * m;
    return {w.x, w.y, w.z};
}

const ShapeUnderTransform& sphereShape() {
    static const ShapeUnderTransform shape = [] {
        bench::startHost();
        const MeshGeometry& sphere = bench::millionTriangleSphere();
        MFnMesh fn;
        MObject top =
            fn.create(sphere.numVertices(), sphere.numFaces(), toPointArray(sphere.points()),
                      toIntArray(sphere.polygonCounts()), toIntArray(sphere.polygonConnects()));
        MFnTransform t(top);
        const double scale[3] = {1.5, 2.0, 0.75};
        t.setScale(scale);
        t.setRotation(MEulerRotation(0.3, 0.5, 0.7));
        t.setTranslation(MVector(5, -2, 3), MSpace::kTransform);
        ShapeUnderTransform s;
        MDagPath::getAPathTo(top, s.path);
        s.path.extendToShape();
        s.world = s.path.inclusiveMatrix();
        return s;
    }();
    return shape;
}

// Rays and points of the kernel benchmarks, carried into world space.
struct WorldRay {
    MFloatPoint source;
    MFloatVector direction;
};

const std::vector<WorldRay>& worldRays() {
    static const std::vector<WorldRay> rays = [] {
        std::vector<WorldRay> out;
        for (const bench::Ray& r : bench::sphereRays(kQueries)) {
            const Vec3 o = transformPoint(sphereShape().world, r.origin);
            const Vec3 d = transformVector(sphereShape().world, r.dir);
            out.push_back({MFloatPoint(float(o.x), float(o.y), float(o.z)),
                           MFloatVector(float(d.x), float(d.y), float(d.z))});
        }
        return out;
    }();
    return rays;
}

const std::vector<MPoint>& worldPoints() {
    static const std::vector<MPoint> points = [] {
        std::vector<MPoint> out;
        for (const Vec3& p : bench::shellPoints(kQueries)) {
            const Vec3 w = transformPoint(sphereShape().world, p);
            out.push_back(MPoint(w.x, w.y, w.z));
        }
        return out;
    }();
    return points;
}

// ---- Plain Embree over the same triangles, in world space -----------------------

// The shape's triangles carried into world space once, as a direct Embree user
// holding world-space data would build them.
const bench::DirectEmbree& directEmbree() {
    static const bench::DirectEmbree direct(bench::millionTriangleSphere(), [](const Vec3& p) {
        return transformPoint(sphereShape().world, p);
    });
    return direct;
}

// Both sides over the same inputs; ours(0) first builds the shape's BVH
// before the timed loop.
template <class Ours, class Direct>
void compareWithEmbree(benchmark::State& state, std::size_t count, Ours&& ours, Direct&& direct) {
    ours(0);
    bench::timeAgainstEmbree(state, count, ours, direct);
}

// ---- Queries through MFnMesh, world space ------------------------------------------

void BM_ApiClosestIntersectionWorld_1M(benchmark::State& state) {
    MFnMesh fn(sphereShape().path);
    MMeshIsectAccelParams accel = MFnMesh::autoUniformGridParams();
    const bench::DirectEmbree& direct = directEmbree();
    const auto& rays = worldRays();
    MFloatPoint hit;
    float param = 0;
    int face = -1;
    compareWithEmbree(
        state, rays.size(),
        [&](std::size_t i) {
            benchmark::DoNotOptimize(fn.closestIntersection(
                rays[i].source, rays[i].direction, nullptr, nullptr, false, MSpace::kWorld, 10,
                false, &accel, hit, &param, &face, nullptr, nullptr, nullptr));
        },
        [&](std::size_t i) {
            benchmark::DoNotOptimize(
                direct.closest(toF3(rays[i].source), toF3(rays[i].direction), 10));
        });
}
BENCHMARK(BM_ApiClosestIntersectionWorld_1M)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_ApiAllIntersectionsWorld_1M(benchmark::State& state) {
    MFnMesh fn(sphereShape().path);
    const bench::DirectEmbree& direct = directEmbree();
    const auto& rays = worldRays();
    MFloatPointArray points;
    MIntArray faces;
    std::vector<unsigned> scratch;
    std::size_t ourHits = 0, embreeHits = 0;
    for (const WorldRay& r : rays) {
        fn.allIntersections(r.source, r.direction, nullptr, nullptr, false, MSpace::kWorld, 10,
                            false, nullptr, true, points, nullptr, &faces, nullptr, nullptr,
                            nullptr);
        ourHits += points.length();
        embreeHits += direct.all(toF3(r.source), toF3(r.direction), 10, scratch);
    }
    compareWithEmbree(
        state, rays.size(),
        [&](std::size_t i) {
            benchmark::DoNotOptimize(fn.allIntersections(
                rays[i].source, rays[i].direction, nullptr, nullptr, false, MSpace::kWorld, 10,
                false, nullptr, true, points, nullptr, &faces, nullptr, nullptr, nullptr));
        },
        [&](std::size_t i) {
            benchmark::DoNotOptimize(
                direct.all(toF3(rays[i].source), toF3(rays[i].direction), 10, scratch));
        });
    state.counters["hits_per_ray"] = double(ourHits) / double(rays.size());
    state.counters["embree_hits_per_ray"] = double(embreeHits) / double(rays.size());
}
BENCHMARK(BM_ApiAllIntersectionsWorld_1M)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_ApiClosestPointWorld_1M(benchmark::State& state) {
    MFnMesh fn(sphereShape().path);
    const bench::DirectEmbree& direct = directEmbree();
    const auto& points = worldPoints();
    MPoint closest;
    int face = -1;
    compareWithEmbree(
        state, points.size(),
        [&](std::size_t i) {
            benchmark::DoNotOptimize(fn.getClosestPoint(points[i], closest, MSpace::kWorld, &face));
        },
        [&](std::size_t i) { benchmark::DoNotOptimize(direct.closestPoint(toF3(points[i]))); });
}
BENCHMARK(BM_ApiClosestPointWorld_1M)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The same API query again and again: the BVH built before the loop serves
// all of them (bvh_builds stays 0).
void BM_ApiRepeatedQueryNeverRebuilds_1M(benchmark::State& state) {
    MFnMesh fn(sphereShape().path);
    const WorldRay ray = worldRays()[7];
    MFloatPoint hit;
    auto query = [&] {
        return fn.closestIntersection(ray.source, ray.direction, nullptr, nullptr, false,
                                      MSpace::kWorld, 10, true, nullptr, hit, nullptr, nullptr,
                                      nullptr, nullptr, nullptr);
    };
    query();
    const auto before = MeshGeometry::totalBvhBuilds();
    for (auto _ : state) benchmark::DoNotOptimize(query());
    state.counters["bvh_builds"] = double(MeshGeometry::totalBvhBuilds() - before);
}
BENCHMARK(BM_ApiRepeatedQueryNeverRebuilds_1M);

// ---- Merging addPolygon through MFnMesh on a shape ------------------------------------

// Appends an n-quad grid one quad at a time, each corner merged against
// everything added so far, as the patch builder does. Corners carry a little
// rounding noise so merging really has to search. geometry_copies counts how
// often the shape's own geometry was found replaced by a copy (sampled every
// 1024 quads): it must stay 0, or each addPolygon would cost O(mesh).
void BM_ApiAddPolygonMergingOnShape(benchmark::State& state) {
    bench::startHost();
    const int side = static_cast<int>(std::lround(std::sqrt(double(state.range(0)))));
    const int quads = side * side;
    double copies = 0;
    for (auto _ : state) {
        state.PauseTiming();
        MFnMesh fn;
        const MObject top = fn.create(0, 0, MPointArray(), MIntArray(), MIntArray());
        MDagPath path;
        fn.getPath(path);
        auto* shape = ehost::ApiAccess::as<ehost::MeshShape>(path.node()).get();
        const MeshGeometry* own = shape->base().get();
        MPointArray quad(4);
        int face = -1;
        state.ResumeTiming();
        for (int j = 0; j < side; ++j) {
            for (int i = 0; i < side; ++i) {
                const double x = i, y = j, noise = 1e-7 * ((i * 7 + j * 3) % 5);
                quad[0] = MPoint(x + noise, y + noise, 0);
                quad[1] = MPoint(x + 1 + noise, y, 0);
                quad[2] = MPoint(x + 1, y + 1 + noise, 0);
                quad[3] = MPoint(x, y + 1, noise);
                fn.addPolygon(quad, face, true, 1e-3);
                if ((face & 1023) == 0) {
                    const MeshGeometry* now = shape->base().get();
                    copies += now != own;
                    own = now;
                }
            }
        }
        state.PauseTiming();
        if (fn.numVertices() != (side + 1) * (side + 1) || fn.numPolygons() != quads)
            state.SkipWithError("merging failed");
        remove(top);
        state.ResumeTiming();
    }
    state.counters["quads"] = quads;
    state.counters["geometry_copies"] = copies;
    state.counters["time_per_quad"] = benchmark::Counter(
        double(quads), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ApiAddPolygonMergingOnShape)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

// ---- create ---------------------------------------------------------------------------------

struct GridArrays {
    MPointArray points;
    MIntArray counts, connects;
};

const GridArrays& grid100k() {
    static const GridArrays g = [] {
        const bench::PolygonArrays a = bench::quadGrid(316);  // 99,856 quads
        return GridArrays{toPointArray(a.points), toIntArray(a.counts), toIntArray(a.connects)};
    }();
    return g;
}

void BM_ApiCreate100kQuadsShape(benchmark::State& state) {
    bench::startHost();
    const GridArrays& g = grid100k();
    for (auto _ : state) {
        MFnMesh fn;
        const MObject top =
            fn.create(static_cast<int>(g.points.length()), static_cast<int>(g.counts.length()),
                      g.points, g.counts, g.connects);
        state.PauseTiming();
        remove(top);
        state.ResumeTiming();
    }
    state.counters["quads"] = double(g.counts.length());
}
BENCHMARK(BM_ApiCreate100kQuadsShape)->Unit(benchmark::kMillisecond);

void BM_ApiCreate100kQuadsMeshData(benchmark::State& state) {
    bench::startHost();
    const GridArrays& g = grid100k();
    for (auto _ : state) {
        MFnMeshData data;
        MObject owner = data.create();
        MFnMesh fn;
        benchmark::DoNotOptimize(fn.create(static_cast<int>(g.points.length()),
                                           static_cast<int>(g.counts.length()), g.points, g.counts,
                                           g.connects, owner));
    }
    state.counters["quads"] = double(g.counts.length());
}
BENCHMARK(BM_ApiCreate100kQuadsMeshData)->Unit(benchmark::kMillisecond);

}  // namespace
