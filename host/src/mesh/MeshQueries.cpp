// Ray and closest-point queries: Embree (float, BVH-local coordinates) picks the
// triangles, the answers are then computed in double on the mesh's own points.

#include "host/src/mesh/MeshBvh.h"
#include "host/src/mesh/MeshGeometry.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <tuple>
#include <type_traits>

namespace ehost {

namespace {

std::atomic<std::uint64_t> gBvhBuilds{0};

bool finite(const Vec3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// Embree hands the context back to the filter, so ours starts with Embree's.
struct QueryContext {
    RTCIntersectContext embree;
    const MeshBvh* bvh = nullptr;
    const std::vector<int>* faces = nullptr;  // sorted face filter, or null
    std::vector<unsigned>* collected = nullptr;
};
static_assert(std::is_standard_layout_v<QueryContext>);

void filterCandidates(const RTCFilterFunctionNArguments* args) {
    auto* ctx = reinterpret_cast<QueryContext*>(args->context);
    for (unsigned i = 0; i < args->N; ++i) {
        if (args->valid[i] != -1) continue;
        const unsigned prim = RTCHitN_primID(args->hit, args->N, i);
        if (ctx->faces && !std::binary_search(ctx->faces->begin(), ctx->faces->end(),
                                              ctx->bvh->triangleFace(prim))) {
            args->valid[i] = 0;
            continue;
        }
        if (ctx->collected) {
            // Rejecting every candidate makes Embree visit all of them.
            ctx->collected->push_back(prim);
            args->valid[i] = 0;
        }
    }
}

// One ray's setup: the direction sign, the double-precision range it must end
// in, and the Embree ray for it.
struct RaySetup {
    const MeshBvh& bvh;
    Vec3 origin, dir;
    double maxParam;
};

RTCRayHit embreeRay(const RaySetup& r, double sign, double reach) {
    RTCRayHit rh;
    const Vec3 local = r.origin - r.bvh.origin();
    rh.ray.org_x = static_cast<float>(local.x);
    rh.ray.org_y = static_cast<float>(local.y);
    rh.ray.org_z = static_cast<float>(local.z);
    rh.ray.dir_x = static_cast<float>(sign * r.dir.x);
    rh.ray.dir_y = static_cast<float>(sign * r.dir.y);
    rh.ray.dir_z = static_cast<float>(sign * r.dir.z);
    rh.ray.tnear = 0.0f;
    rh.ray.time = 0.0f;
    // Embree works in float: let it look a little past the range (relative
    // rounding of t plus the rounding of BVH coordinates), and let the exact
    // test in double decide.
    const double slack = 1e-5 * (r.bvh.extent() + length(local)) / length(r.dir);
    const double far = reach * (1 + 1e-5) + slack;
    rh.ray.tfar = far < FLT_MAX ? static_cast<float>(far) : INFINITY;
    rh.ray.mask = 0xffffffffu;
    rh.ray.id = 0;
    rh.ray.flags = 0;
    rh.hit.geomID = RTC_INVALID_GEOMETRY_ID;
    rh.hit.primID = RTC_INVALID_GEOMETRY_ID;
    rh.hit.instID[0] = RTC_INVALID_GEOMETRY_ID;
    return rh;
}

// The hit of the line origin + t * dir with the triangle's plane, in double.
// t comes from the plane equation with a unit normal, which is exactly an axis
// for axis-aligned triangles, so such hits come out exact; barycentrics come
// from Moeller-Trumbore and are kept inside the triangle (Embree's float test
// decided that the ray hits it; a sliver outside is rounding).
RayHit exactHit(const RaySetup& r, const std::vector<Vec3>& points, unsigned prim) {
    const std::array<int, 3> v = r.bvh.triangleVertices(prim);
    const Vec3 &a = points[v[0]], &b = points[v[1]], &c = points[v[2]];
    const Vec3 e1 = b - a, e2 = c - a;
    RayHit hit;
    hit.face = r.bvh.triangleFace(prim);
    hit.triangle = r.bvh.localTriangle(prim);
    const Vec3 normal = normalized(cross(e1, e2));
    const double along = dot(normal, r.dir);
    if (along == 0 || !std::isfinite(along)) return hit;  // degenerate, or ray in the plane
    hit.rayParam = dot(normal, a - r.origin) / along;

    const Vec3 s = r.origin - a;
    const Vec3 p = cross(r.dir, e2), q = cross(s, e1);
    const double det = dot(e1, p);
    if (det != 0) {
        hit.bary1 = std::max(0.0, dot(s, p) / det);
        hit.bary2 = std::max(0.0, dot(r.dir, q) / det);
        if (const double sum = hit.bary1 + hit.bary2; sum > 1) {
            hit.bary1 /= sum;
            hit.bary2 /= sum;
        }
    }
    hit.hit = true;
    return hit;
}

// Applies the range in double. sign says which Embree ray found the hit: a hit
// that ray found a rounding error on the wrong side of the origin is at the origin.
bool inRange(RayHit& hit, double maxParam, double sign) {
    if (!hit.hit) return false;
    hit.rayParam = sign > 0 ? std::max(hit.rayParam, 0.0) : std::min(hit.rayParam, 0.0);
    return std::abs(hit.rayParam) <= maxParam;
}

void finish(RayHit& hit, const RaySetup& r) {
    hit.point = r.origin + r.dir * hit.rayParam;
}

RayHit nearestAlong(const RaySetup& r, QueryContext& ctx, const std::vector<Vec3>& points,
                    double sign, double reach) {
    RTCRayHit rh = embreeRay(r, sign, reach);
    rtcIntersect1(r.bvh.scene(), &ctx.embree, &rh);
    if (rh.hit.geomID == RTC_INVALID_GEOMETRY_ID) return {};
    RayHit hit = exactHit(r, points, rh.hit.primID);
    if (!hit.hit) {
        hit.hit = true;
        hit.rayParam = sign * rh.ray.tfar;
        hit.bary1 = rh.hit.u;
        hit.bary2 = rh.hit.v;
    }
    if (!inRange(hit, reach, sign)) return {};
    return hit;
}

bool usableRay(const Vec3& origin, const Vec3& dir, double maxParam) {
    return finite(origin) && finite(dir) && lengthSquared(dir) > 0 && maxParam >= 0;
}

std::vector<int> sortedFilter(const std::vector<int>* faces) {
    std::vector<int> sorted(faces->begin(), faces->end());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

QueryContext makeContext(const MeshBvh& bvh, const std::vector<int>* faces,
                         std::vector<unsigned>* collected) {
    QueryContext ctx;
    rtcInitIntersectContext(&ctx.embree);
    ctx.bvh = &bvh;
    ctx.faces = faces;
    ctx.collected = collected;
    if (faces || collected) ctx.embree.filter = filterCandidates;
    return ctx;
}

// ---- Closest point -----------------------------------------------------------

struct TrianglePoint {
    Vec3 point;
    double bary1, bary2;  // weights of the second and third corner
};

// Region tests as in Ericson, "Real-Time Collision Detection" 5.1.5; the face
// region projects onto the plane along the unit normal instead of blending
// corners, which keeps points on axis-aligned triangles exact.
TrianglePoint closestOnTriangle(const Vec3& p, const Vec3& a, const Vec3& b, const Vec3& c) {
    const Vec3 ab = b - a, ac = c - a, ap = p - a;
    const double d1 = dot(ab, ap), d2 = dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) return {a, 0, 0};
    const Vec3 bp = p - b;
    const double d3 = dot(ab, bp), d4 = dot(ac, bp);
    if (d3 >= 0 && d4 <= d3) return {b, 1, 0};
    const double vc = d1 * d4 - d3 * d2;
    if (vc <= 0 && d1 >= 0 && d3 <= 0) {
        const double v = d1 / (d1 - d3);
        return {a + ab * v, v, 0};
    }
    const Vec3 cp = p - c;
    const double d5 = dot(ab, cp), d6 = dot(ac, cp);
    if (d6 >= 0 && d5 <= d6) return {c, 0, 1};
    const double vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0) {
        const double w = d2 / (d2 - d6);
        return {a + ac * w, 0, w};
    }
    const double va = d3 * d6 - d5 * d4;
    if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0) {
        const double w = (d4 - d3) / ((d4 - d3) + (d5 - d6));
        return {b + (c - b) * w, 1 - w, w};
    }
    const double sum = va + vb + vc;
    const Vec3 n = normalized(cross(ab, ac));
    return {p - n * dot(ap, n), vb / sum, vc / sum};
}

struct PointQueryState {
    const MeshBvh* bvh;
    const std::vector<Vec3>* points;
    Vec3 p;
    double pad;  // float rounding of BVH coordinates, as a distance
    ClosestPointResult best;
};

bool visitTriangle(RTCPointQueryFunctionArguments* args) {
    auto* s = static_cast<PointQueryState*>(args->userPtr);
    const std::array<int, 3> v = s->bvh->triangleVertices(args->primID);
    const std::vector<Vec3>& pts = *s->points;
    const TrianglePoint c = closestOnTriangle(s->p, pts[v[0]], pts[v[1]], pts[v[2]]);
    const double distance = length(c.point - s->p);
    const int face = s->bvh->triangleFace(args->primID);
    const int triangle = s->bvh->localTriangle(args->primID);
    ClosestPointResult& best = s->best;
    const bool better = !best.found || distance < best.distance ||
                        (distance == best.distance &&
                         std::tie(face, triangle) < std::tie(best.face, best.triangle));
    if (!better) return false;
    best = {true, c.point, distance, face, triangle, c.bary1, c.bary2};
    // Shrinking the radius prunes the search; padded so that BVH rounding never
    // cuts off an equally near triangle (needed for the lowest-face rule).
    const float radius = static_cast<float>(distance * (1 + 1e-6) + s->pad);
    if (radius >= args->query->radius) return false;
    args->query->radius = radius;
    return true;
}

}  // namespace

// ---- MeshGeometry ----------------------------------------------------------------

const MeshBvh& MeshGeometry::bvh() const {
    return bvh_.get([this] {
        ++bvhBuilds_;
        ++gBvhBuilds;
        return MeshBvh::build(points_, offsets_, connects_);
    });
}

void MeshGeometry::prepareQueries() const {
    bvh();
}

std::string MeshGeometry::queryError() const {
    return bvh().error();
}

std::uint64_t MeshGeometry::totalBvhBuilds() {
    return gBvhBuilds.load();
}

RayHit MeshGeometry::closestIntersection(const Vec3& origin, const Vec3& dir, double maxParam,
                                         bool testBothDirections, double /*tolerance*/,
                                         const std::vector<int>* faceFilter) const {
    if (!usableRay(origin, dir, maxParam)) return {};
    const MeshBvh& b = bvh();
    if (!b.scene()) return {};
    const std::vector<int> filter = faceFilter ? sortedFilter(faceFilter) : std::vector<int>{};
    QueryContext ctx = makeContext(b, faceFilter ? &filter : nullptr, nullptr);
    const RaySetup ray{b, origin, dir, maxParam};

    RayHit best = nearestAlong(ray, ctx, points_, 1.0, maxParam);
    if (testBothDirections) {
        const double reach = best.hit ? best.rayParam : maxParam;
        RayHit back = nearestAlong(ray, ctx, points_, -1.0, reach);
        if (back.hit && (!best.hit || -back.rayParam < best.rayParam)) best = back;
    }
    if (best.hit) finish(best, ray);
    return best;
}

std::vector<RayHit> MeshGeometry::allIntersections(const Vec3& origin, const Vec3& dir,
                                                   double maxParam, bool testBothDirections,
                                                   double tolerance, bool /*sortHits*/,
                                                   const std::vector<int>* faceFilter) const {
    std::vector<RayHit> hits;
    if (!usableRay(origin, dir, maxParam)) return hits;
    const MeshBvh& b = bvh();
    if (!b.scene()) return hits;
    const std::vector<int> filter = faceFilter ? sortedFilter(faceFilter) : std::vector<int>{};
    const RaySetup ray{b, origin, dir, maxParam};

    // Triangles met by each direction; Embree may report one twice (spatial
    // splits), and a triangle through the origin is met by both.
    std::vector<std::pair<unsigned, double>> candidates;
    std::vector<unsigned> collected;
    for (double sign : {1.0, -1.0}) {
        if (sign < 0 && !testBothDirections) break;
        collected.clear();
        QueryContext ctx = makeContext(b, faceFilter ? &filter : nullptr, &collected);
        RTCRayHit rh = embreeRay(ray, sign, maxParam);
        rtcIntersect1(b.scene(), &ctx.embree, &rh);
        for (unsigned prim : collected) candidates.emplace_back(prim, sign);
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const auto& x, const auto& y) { return x.first < y.first; });
    candidates.erase(std::unique(candidates.begin(), candidates.end(),
                                 [](const auto& x, const auto& y) { return x.first == y.first; }),
                     candidates.end());

    for (const auto& [prim, sign] : candidates) {
        RayHit hit = exactHit(ray, points_, prim);
        if (inRange(hit, maxParam, sign)) hits.push_back(hit);
    }
    std::sort(hits.begin(), hits.end(), [](const RayHit& x, const RayHit& y) {
        return std::tie(x.rayParam, x.face, x.triangle) < std::tie(y.rayParam, y.face, y.triangle);
    });

    // Hits within the tolerance of the first hit of their cluster are one hit;
    // the lowest face (then triangle) of the cluster represents it.
    const double span = std::max(tolerance, 0.0) / length(dir);
    std::vector<RayHit> merged;
    for (std::size_t i = 0; i < hits.size();) {
        std::size_t end = i + 1, pick = i;
        while (end < hits.size() && hits[end].rayParam - hits[i].rayParam <= span) {
            if (std::tie(hits[end].face, hits[end].triangle) <
                std::tie(hits[pick].face, hits[pick].triangle))
                pick = end;
            ++end;
        }
        merged.push_back(hits[pick]);
        finish(merged.back(), ray);
        i = end;
    }
    return merged;
}

std::vector<RayHit> MeshGeometry::intersect(const Vec3& origin, const Vec3& dir,
                                            double tolerance) const {
    return allIntersections(origin, dir, kInfinity, false, tolerance);
}

ClosestPointResult MeshGeometry::closestPoint(const Vec3& p, double maxDistance) const {
    if (!finite(p) || !(maxDistance >= 0)) return {};
    const MeshBvh& b = bvh();
    if (!b.scene()) return {};
    const Vec3 local = p - b.origin();
    PointQueryState state{&b, &points_, p, 8 * FLT_EPSILON * (b.extent() + length(local)), {}};

    RTCPointQuery query;
    query.x = static_cast<float>(local.x);
    query.y = static_cast<float>(local.y);
    query.z = static_cast<float>(local.z);
    query.time = 0.0f;
    const double radius = maxDistance * (1 + 1e-6) + state.pad;
    query.radius = radius < FLT_MAX ? static_cast<float>(radius) : INFINITY;
    RTCPointQueryContext context;
    rtcInitPointQueryContext(&context);
    rtcPointQuery(b.scene(), &query, &context, visitTriangle, &state);
    if (!state.best.found || state.best.distance > maxDistance) return {};
    return state.best;
}

}  // namespace ehost
