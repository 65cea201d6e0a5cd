// MFnMesh: ray intersection and closest-point queries, and the acceleration
// parameters that go with them.
//
// Queries run in object space against the kernel's BVH. A world-space ray is
// taken into object space whole (source as a point, direction as a vector), so
// its parameter t names the same place in both spaces; hit points are then
// source + t * direction in the caller's space.

#include <maya/MFnMesh.h>

#include <algorithm>
#include <cmath>

#include "host/src/api/mesh/MeshApi.h"
#include "host/src/dg/Api.h"

using ehost::MeshGeometry;
using ehost::RayHit;
using ehost::SpaceFrame;
using ehost::Vec3;
using ehost::api::MeshTarget;
using ehost::api::setStatus;

namespace {

MStatus invalid(const std::string& text) {
    return MStatus(MStatus::kInvalidParameter, text);
}

//! A ray as the kernel sees it, with what is needed to report hits back.
struct ObjectRay {
    Vec3 source, direction;  // caller's space
    Vec3 objectSource, objectDirection;
    double tolerance = 0;  // object-space distance
};

ObjectRay objectRay(const SpaceFrame& frame, const Vec3& source, const Vec3& direction,
                    double tolerance) {
    ObjectRay r;
    r.source = source;
    r.direction = direction;
    r.objectSource = frame.pointIn(source);
    r.objectDirection = frame.vectorIn(direction);
    // Distances along the ray scale with the direction's length.
    const double len = ehost::length(direction);
    r.tolerance = len > 0 ? tolerance * ehost::length(r.objectDirection) / len : tolerance;
    return r;
}

//! Which faces and triangles a query may hit (faceIds / triIds).
class HitFilter {
public:
    MStatus init(const MeshGeometry& g, const MIntArray* faceIds, const MIntArray* triIds) {
        if (faceIds) {
            for (int f : *faceIds)
                if (f < 0 || f >= g.numFaces())
                    return ehost::api::outOfRange("face in faceIds", f, g.numFaces());
            faces_ = ehost::api::toVector(*faceIds);
            hasFaces_ = true;
        }
        if (triIds) {
            if (faceIds && faceIds->length() != triIds->length())
                return invalid("faceIds has " + std::to_string(faceIds->length()) +
                               " entries but triIds has " + std::to_string(triIds->length()) +
                               ": with both, they are pairs");
            for (unsigned i = 0; i < triIds->length(); ++i) {
                const int t = (*triIds)[i];
                if (t < 0) return invalid("triangle ids cannot be negative");
                pairs_.push_back({faceIds ? (*faceIds)[i] : -1, t});
            }
            hasTriangles_ = true;
        }
        return MStatus::kSuccess;
    }
    const std::vector<int>* faces() const { return hasFaces_ ? &faces_ : nullptr; }
    //! Triangle limits need every hit looked at, not only the kernel's nearest.
    bool limitsTriangles() const { return hasTriangles_; }
    bool accepts(const RayHit& h) const {
        if (!hasTriangles_) return true;
        return std::any_of(pairs_.begin(), pairs_.end(), [&](const std::pair<int, int>& p) {
            return (p.first < 0 || p.first == h.face) && p.second == h.triangle;
        });
    }

private:
    std::vector<int> faces_;
    std::vector<std::pair<int, int>> pairs_;  // (face or -1 for any, triangle)
    bool hasFaces_ = false, hasTriangles_ = false;
};

//! Everything a ray query needs, checked: attachment, space, filter, ray.
struct RayQuery {
    std::shared_ptr<const MeshGeometry> geometry;
    HitFilter filter;
    ObjectRay ray;
    double maxParam = 0;
    bool bothDirections = false;

    MStatus prepare(const std::shared_ptr<const MeshTarget>& target, MSpace::Space space,
                    const Vec3& source, const Vec3& direction, const MIntArray* faceIds,
                    const MIntArray* triIds, double tolerance) {
        if (!target) return ehost::api::noMesh();
        SpaceFrame frame;
        MStatus st = target->frame(space, frame);
        if (!st) return st;
        if (!(tolerance >= 0)) return invalid("the tolerance must be zero or more");
        geometry = target->geometry();
        st = filter.init(*geometry, faceIds, triIds);
        if (!st) return st;
        ray = objectRay(frame, source, direction, tolerance);
        return MStatus::kSuccess;
    }

    //! prepare() for the intersection queries, which bound the ray and may
    //! look both ways; status receives the outcome too.
    MStatus prepare(const std::shared_ptr<const MeshTarget>& target, MSpace::Space space,
                    const MFloatPoint& source, const MFloatVector& direction,
                    const MIntArray* faceIds, const MIntArray* triIds, float tolerance,
                    float maxParamIn, bool bothDirectionsIn, MStatus* status) {
        MStatus st = prepare(target, space, ehost::toVec3(source), ehost::toVec3(direction),
                             faceIds, triIds, tolerance);
        setStatus(status, st);
        maxParam = maxParamIn;
        bothDirections = bothDirectionsIn;
        return st;
    }

    std::vector<RayHit> all() const {
        std::vector<RayHit> hits =
            geometry->allIntersections(ray.objectSource, ray.objectDirection, maxParam,
                                       bothDirections, ray.tolerance, true, filter.faces());
        std::erase_if(hits, [&](const RayHit& h) { return !filter.accepts(h); });
        return hits;
    }

    RayHit closest() const {
        if (!filter.limitsTriangles())
            return geometry->closestIntersection(ray.objectSource, ray.objectDirection, maxParam,
                                                 bothDirections, ray.tolerance, filter.faces());
        // Nearest accepted hit; on equal |t| the forward one, as the kernel does.
        RayHit best;
        for (const RayHit& h : all())
            if (!best.hit || std::abs(h.rayParam) < std::abs(best.rayParam) ||
                (std::abs(h.rayParam) == std::abs(best.rayParam) && h.rayParam > best.rayParam))
                best = h;
        return best;
    }

    //! The hit in the caller's space: on the caller's own ray.
    Vec3 hitPoint(const RayHit& h) const { return ray.source + ray.direction * h.rayParam; }
};

MFloatPoint toFloatPoint(const Vec3& p) {
    return MFloatPoint(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z));
}

template <class T>
void put(T* out, T value) {
    if (out) *out = value;
}

bool singleHit(const std::shared_ptr<const MeshTarget>& target, const MFloatPoint& raySource,
               const MFloatVector& rayDirection, const MIntArray* faceIds, const MIntArray* triIds,
               MSpace::Space space, float maxParam, bool testBothDirections, MFloatPoint& hitPoint,
               float* hitRayParam, int* hitFace, int* hitTriangle, float* hitBary1, float* hitBary2,
               float tolerance, MStatus* status) {
    RayQuery q;
    if (!q.prepare(target, space, raySource, rayDirection, faceIds, triIds, tolerance, maxParam,
                   testBothDirections, status))
        return false;
    const RayHit h = q.closest();
    if (!h.hit) return false;
    hitPoint = toFloatPoint(q.hitPoint(h));
    put(hitRayParam, static_cast<float>(h.rayParam));
    put(hitFace, h.face);
    put(hitTriangle, h.triangle);
    put(hitBary1, static_cast<float>(h.bary1));
    put(hitBary2, static_cast<float>(h.bary2));
    return true;
}

}  // namespace

// ---------------------------------------------------------------- acceleration parameters

MMeshIsectAccelParams MFnMesh::autoUniformGridParams() {
    MMeshIsectAccelParams p;
    p.impl_.kind = MMeshIsectAccelParams::Kind::kAutoGrid;
    return p;
}

MMeshIsectAccelParams MFnMesh::uniformGridParams(int xDivisions, int yDivisions, int zDivisions) {
    MMeshIsectAccelParams p;
    p.impl_.kind = MMeshIsectAccelParams::Kind::kUniformGrid;
    p.impl_.divisions[0] = xDivisions;
    p.impl_.divisions[1] = yDivisions;
    p.impl_.divisions[2] = zDivisions;
    return p;
}

MStatus MFnMesh::freeCachedIntersectionAccelerator() {
    return impl_.target ? MStatus(MStatus::kSuccess) : ehost::api::noMesh();
}

// ---------------------------------------------------------------- rays

bool MFnMesh::closestIntersection(const MFloatPoint& raySource, const MFloatVector& rayDirection,
                                  const MIntArray* faceIds, const MIntArray* triIds, bool,
                                  MSpace::Space space, float maxParam, bool testBothDirections,
                                  MMeshIsectAccelParams*, MFloatPoint& hitPoint, float* hitRayParam,
                                  int* hitFace, int* hitTriangle, float* hitBary1, float* hitBary2,
                                  float tolerance, MStatus* ReturnStatus) const {
    return singleHit(impl_.target, raySource, rayDirection, faceIds, triIds, space, maxParam,
                     testBothDirections, hitPoint, hitRayParam, hitFace, hitTriangle, hitBary1,
                     hitBary2, tolerance, ReturnStatus);
}

bool MFnMesh::anyIntersection(const MFloatPoint& raySource, const MFloatVector& rayDirection,
                              const MIntArray* faceIds, const MIntArray* triIds, bool,
                              MSpace::Space space, float maxParam, bool testBothDirections,
                              MMeshIsectAccelParams*, MFloatPoint& hitPoint, float* hitRayParam,
                              int* hitFace, int* hitTriangle, float* hitBary1, float* hitBary2,
                              float tolerance, MStatus* ReturnStatus) const {
    return singleHit(impl_.target, raySource, rayDirection, faceIds, triIds, space, maxParam,
                     testBothDirections, hitPoint, hitRayParam, hitFace, hitTriangle, hitBary1,
                     hitBary2, tolerance, ReturnStatus);
}

bool MFnMesh::allIntersections(const MFloatPoint& raySource, const MFloatVector& rayDirection,
                               const MIntArray* faceIds, const MIntArray* triIds, bool,
                               MSpace::Space space, float maxParam, bool testBothDirections,
                               MMeshIsectAccelParams*, bool, MFloatPointArray& hitPoints,
                               MFloatArray* hitRayParams, MIntArray* hitFaces,
                               MIntArray* hitTriangles, MFloatArray* hitBary1s,
                               MFloatArray* hitBary2s, float tolerance,
                               MStatus* ReturnStatus) const {
    hitPoints.clear();
    for (MFloatArray* a : {hitRayParams, hitBary1s, hitBary2s})
        if (a) a->clear();
    for (MIntArray* a : {hitFaces, hitTriangles})
        if (a) a->clear();
    RayQuery q;
    if (!q.prepare(impl_.target, space, raySource, rayDirection, faceIds, triIds, tolerance,
                   maxParam, testBothDirections, ReturnStatus))
        return false;
    for (const RayHit& h : q.all()) {
        hitPoints.append(toFloatPoint(q.hitPoint(h)));
        if (hitRayParams) hitRayParams->append(static_cast<float>(h.rayParam));
        if (hitFaces) hitFaces->append(h.face);
        if (hitTriangles) hitTriangles->append(h.triangle);
        if (hitBary1s) hitBary1s->append(static_cast<float>(h.bary1));
        if (hitBary2s) hitBary2s->append(static_cast<float>(h.bary2));
    }
    return hitPoints.length() > 0;
}

bool MFnMesh::intersect(const MPoint& raySource, const MVector& rayDirection, MPointArray& points,
                        double tolerance, MSpace::Space space, MIntArray* polygonIds,
                        MStatus* ReturnStatus) const {
    points.clear();
    if (polygonIds) polygonIds->clear();
    RayQuery q;
    MStatus st = q.prepare(impl_.target, space, ehost::toVec3(raySource),
                           ehost::toVec3(rayDirection), nullptr, nullptr, tolerance);
    setStatus(ReturnStatus, st);
    if (!st) return false;
    for (const RayHit& h :
         q.geometry->intersect(q.ray.objectSource, q.ray.objectDirection, q.ray.tolerance)) {
        points.append(ehost::toPoint(q.hitPoint(h)));
        if (polygonIds) polygonIds->append(h.face);
    }
    return points.length() > 0;
}

// ---------------------------------------------------------------- closest point

namespace {

struct Nearest {
    ehost::ClosestPointResult result;
    SpaceFrame frame;
    std::shared_ptr<const MeshGeometry> geometry;

    MStatus find(const std::shared_ptr<const MeshTarget>& target, const MPoint& p,
                 MSpace::Space space) {
        if (!target) return ehost::api::noMesh();
        MStatus st = target->frame(space, frame);
        if (!st) return st;
        geometry = target->geometry();
        result = geometry->closestPoint(frame.pointIn(ehost::toVec3(p)));
        if (!result.found)
            return invalid(target->describe() + " has no faces: it has no closest point");
        return MStatus::kSuccess;
    }
    MPoint point() const { return ehost::toPoint(frame.pointOut(result.point)); }
    //! Face-vertex normals blended across the triangle (so hard edges stay hard).
    MVector normal() const {
        const MeshGeometry& g = *geometry;
        const int first = g.faceOffsets()[result.face];
        const auto& normals = g.faceVertexNormals();
        const Vec3 n = normals[first] * (1 - result.bary1 - result.bary2) +
                       normals[first + result.triangle + 1] * result.bary1 +
                       normals[first + result.triangle + 2] * result.bary2;
        return ehost::toVector(frame.normalOut(ehost::normalized(n)));
    }
};

//! Finds the point of the mesh nearest to p, lets read(nearest) take what
//! the caller asked for, and reports the polygon.
template <class Read>
MStatus nearestTo(const std::shared_ptr<const MeshTarget>& target, const MPoint& p,
                  MSpace::Space space, int* closestPolygon, Read&& read) {
    Nearest n;
    MStatus st = n.find(target, p, space);
    if (!st) return st;
    read(n);
    put(closestPolygon, n.result.face);
    return st;
}

}  // namespace

MStatus MFnMesh::getClosestPoint(const MPoint& toThisPoint, MPoint& theClosestPoint,
                                 MSpace::Space space, int* closestPolygon,
                                 MMeshIsectAccelParams*) const {
    return nearestTo(impl_.target, toThisPoint, space, closestPolygon,
                     [&](const Nearest& n) { theClosestPoint = n.point(); });
}

MStatus MFnMesh::getClosestNormal(const MPoint& toThisPoint, MVector& theNormal,
                                  MSpace::Space space, int* closestPolygon,
                                  MMeshIsectAccelParams*) const {
    return nearestTo(impl_.target, toThisPoint, space, closestPolygon,
                     [&](const Nearest& n) { theNormal = n.normal(); });
}

MStatus MFnMesh::getClosestPointAndNormal(const MPoint& toThisPoint, MPoint& theClosestPoint,
                                          MVector& theNormal, MSpace::Space space,
                                          int* closestPolygon, MMeshIsectAccelParams*) const {
    return nearestTo(impl_.target, toThisPoint, space, closestPolygon, [&](const Nearest& n) {
        theClosestPoint = n.point();
        theNormal = n.normal();
    });
}
