// MFnMesh: attachment, creation, editing, topology, points, normals and edge
// smoothing. UV sets are in MFnMeshUVs.cpp, ray and proximity queries in
// MFnMeshQueries.cpp.

#include <maya/MFnMesh.h>

#include <cmath>
#include <numbers>

#include "host/src/api/mesh/MeshApi.h"
#include "host/src/core/Guard.h"
#include "host/src/dag/DagOps.h"
#include "host/src/dg/Api.h"
#include "host/src/dg/Registry.h"

using ehost::MeshGeometry;
using ehost::SpaceFrame;
using ehost::Vec3;
using ehost::api::MeshTarget;
using ehost::api::outOfRange;
using ehost::api::setStatus;

namespace ehost::api {

MStatus checkUVSet(const MeshGeometry& g, const MString* uvSet) {
    if (uvSet && !uvSet->str().empty() && !g.hasUVSet(uvSet->str()))
        return MStatus(MStatus::kInvalidParameter,
                       "the mesh has no UV set named \"" + uvSet->str() + "\"");
    return MStatus::kSuccess;
}

int cornerOf(const MeshGeometry& g, int face, int vertex) {
    const auto corners = g.faceVertices(face);
    for (std::size_t i = 0; i < corners.size(); ++i)
        if (corners[i] == vertex) return static_cast<int>(i);
    return -1;
}

Vec3 angleWeightedNormal(const MeshGeometry& g, int vertex) {
    Vec3 sum;
    const Vec3 p = g.point(vertex);
    for (int face : g.vertexFaces(vertex)) {
        const auto corners = g.faceVertices(face);
        const int n = static_cast<int>(corners.size());
        const int i = cornerOf(g, face, vertex);
        const Vec3 a = normalized(g.point(corners[(i + n - 1) % n]) - p);
        const Vec3 b = normalized(g.point(corners[(i + 1) % n]) - p);
        const double angle = std::atan2(length(cross(a, b)), dot(a, b));
        sum += g.faceNormal(face) * angle;
    }
    return normalized(sum);
}

}  // namespace ehost::api

namespace {

using Target = std::shared_ptr<const MeshTarget>;

MStatus invalid(const std::string& text) {
    return MStatus(MStatus::kInvalidParameter, text);
}

// ---- creation ----------------------------------------------------------------

std::vector<Vec3> toPoints(const MFloatPointArray& a) {
    std::vector<Vec3> out;
    out.reserve(a.length());
    for (const MFloatPoint& p : a) out.push_back(ehost::toVec3(p));
    return out;
}

std::vector<Vec3> toPoints(const MPointArray& a) {
    std::vector<Vec3> out;
    out.reserve(a.length());
    for (const MPoint& p : a) out.push_back(ehost::toVec3(p));
    return out;
}

//! The mesh create() describes, checked in full before anything is placed.
MStatus buildMesh(int numVertices, int numPolygons, const std::vector<Vec3>& points,
                  const MIntArray& counts, const MIntArray& connects, const MFloatArray* u,
                  const MFloatArray* v, MeshGeometry& out) {
    if (numVertices < 0 || numVertices != static_cast<int>(points.size()))
        return invalid("numVertices is " + std::to_string(numVertices) + " but vertexArray holds " +
                       std::to_string(points.size()) + " points");
    if (numPolygons < 0 || numPolygons != static_cast<int>(counts.length()))
        return invalid("numPolygons is " + std::to_string(numPolygons) + " but polygonCounts has " +
                       std::to_string(counts.length()) + " entries");
    ehost::MeshStatus ms =
        out.create(points, ehost::api::toVector(counts), ehost::api::toVector(connects));
    if (!ms) return invalid(ms.error);
    if (u && v) {
        if (u->length() != v->length())
            return invalid("uArray has " + std::to_string(u->length()) + " values but vArray has " +
                           std::to_string(v->length()));
        ms = out.setUVs(ehost::api::toVector(*u), ehost::api::toVector(*v));
        if (!ms) return invalid(ms.error);
    }
    return MStatus::kSuccess;
}

ehost::NodeClass& meshClass() {
    return *ehost::theRegistry().findClass("mesh");
}

//! Gives a freshly made shape its geometry.
void fillShape(ehost::MeshShape& shape, MeshGeometry&& geometry) {
    MeshGeometry* own = shape.editOwnGeometry(nullptr);  // a new shape has no history
    *own = std::move(geometry);
    shape.ownGeometryEdited();
}

struct Placed {
    MObject returned;  // what create hands back
    Target target;     // what the function set attaches to
};

Placed placeInNewShape(MeshGeometry&& geometry, ehost::DagNode* parent, MStatus& st) {
    const std::string name = parent ? "polySurfaceShape1" : "";
    ehost::Created made = ehost::createNode(meshClass(), name, parent, &st);
    if (!made.node) return {};
    auto shape = std::static_pointer_cast<ehost::MeshShape>(made.node);
    fillShape(*shape, std::move(geometry));
    MDagPath path;
    MDagPath::getAPathTo(ehost::api::wrap(shape), path);
    Placed out;
    out.returned = ehost::api::wrap(parent ? made.node : made.top);
    out.target = MeshTarget::fromPath(path, &st);
    return out;
}

//! Puts a finished mesh where parentOrOwner says (see MFnMesh::create).
Placed place(MeshGeometry&& geometry, const MObject& parentOrOwner, MStatus& st) {
    st = MStatus::kSuccess;
    if (parentOrOwner.isNull()) return placeInNewShape(std::move(geometry), nullptr, st);
    if (auto data = ehost::ApiAccess::as<ehost::MeshData>(parentOrOwner)) {
        data->replace(std::make_shared<const MeshGeometry>(std::move(geometry)));
        return {parentOrOwner, MeshTarget::fromObject(parentOrOwner, &st)};
    }
    auto parent = ehost::ApiAccess::as<ehost::DagNode>(parentOrOwner);
    if (!parent || parent->cls->role != ehost::NodeRole::Transform) {
        st =
            invalid(std::string("parentOrOwner must be a transform or a mesh data object, not a ") +
                    parentOrOwner.apiTypeStr());
        return {};
    }
    if (!parent->alive) {
        st = invalid(parent->name + " is not in the scene: it cannot be a mesh's parent");
        return {};
    }
    return placeInNewShape(std::move(geometry), parent.get(), st);
}

template <class PointArray>
Placed createMesh(int numVertices, int numPolygons, const PointArray& vertexArray,
                  const MIntArray& counts, const MIntArray& connects, const MFloatArray* u,
                  const MFloatArray* v, const MObject& parentOrOwner, MStatus& st) {
    MeshGeometry geometry;
    st = buildMesh(numVertices, numPolygons, toPoints(vertexArray), counts, connects, u, v,
                   geometry);
    if (!st) return {};
    return place(std::move(geometry), parentOrOwner, st);
}

}  // namespace

// ---------------------------------------------------------------- attachment

MFnMesh::MFnMesh(const MObject& object, MStatus* ReturnStatus) {
    setStatus(ReturnStatus, setObject(object));
}

MFnMesh::MFnMesh(const MDagPath& path, MStatus* ReturnStatus) {
    setStatus(ReturnStatus, setObject(path));
}

MStatus MFnMesh::attachTo(std::shared_ptr<const MeshTarget> target, MStatus status) {
    impl_.target = std::move(target);
    obj_ = impl_.target ? impl_.target->object() : MObject();
    return status;
}

MObject MFnMesh::adopt(std::shared_ptr<const MeshTarget> target, const MObject& returned,
                       const MStatus& status, MStatus* ReturnStatus) {
    setStatus(ReturnStatus, status);
    if (!status) return MObject();
    attachTo(std::move(target), status);
    return returned;
}

MStatus MFnMesh::setObject(const MDagPath& path) {
    MStatus st;
    auto target = MeshTarget::fromPath(path, &st);
    return attachTo(std::move(target), st);
}

MStatus MFnMesh::setObject(const MObject& object) {
    MStatus st;
    auto target = MeshTarget::fromObject(object, &st);
    return attachTo(std::move(target), st);
}

// ---------------------------------------------------------------- creation

MObject MFnMesh::create(int numVertices, int numPolygons, const MFloatPointArray& vertexArray,
                        const MIntArray& polygonCounts, const MIntArray& polygonConnects,
                        MObject parentOrOwner, MStatus* ReturnStatus) {
    return ehost::guardEntry(ReturnStatus, "MFnMesh::create", MObject(), [&] {
        MStatus st;
        Placed placed = createMesh(numVertices, numPolygons, vertexArray, polygonCounts,
                                   polygonConnects, nullptr, nullptr, parentOrOwner, st);
        return adopt(placed.target, placed.returned, st, ReturnStatus);
    });
}

MObject MFnMesh::create(int numVertices, int numPolygons, const MPointArray& vertexArray,
                        const MIntArray& polygonCounts, const MIntArray& polygonConnects,
                        MObject parentOrOwner, MStatus* ReturnStatus) {
    return ehost::guardEntry(ReturnStatus, "MFnMesh::create", MObject(), [&] {
        MStatus st;
        Placed placed = createMesh(numVertices, numPolygons, vertexArray, polygonCounts,
                                   polygonConnects, nullptr, nullptr, parentOrOwner, st);
        return adopt(placed.target, placed.returned, st, ReturnStatus);
    });
}

MObject MFnMesh::create(int numVertices, int numPolygons, const MFloatPointArray& vertexArray,
                        const MIntArray& polygonCounts, const MIntArray& polygonConnects,
                        const MFloatArray& uArray, const MFloatArray& vArray, MObject parentOrOwner,
                        MStatus* ReturnStatus) {
    return ehost::guardEntry(ReturnStatus, "MFnMesh::create", MObject(), [&] {
        MStatus st;
        Placed placed = createMesh(numVertices, numPolygons, vertexArray, polygonCounts,
                                   polygonConnects, &uArray, &vArray, parentOrOwner, st);
        return adopt(placed.target, placed.returned, st, ReturnStatus);
    });
}

MObject MFnMesh::create(int numVertices, int numPolygons, const MPointArray& vertexArray,
                        const MIntArray& polygonCounts, const MIntArray& polygonConnects,
                        const MFloatArray& uArray, const MFloatArray& vArray, MObject parentOrOwner,
                        MStatus* ReturnStatus) {
    return ehost::guardEntry(ReturnStatus, "MFnMesh::create", MObject(), [&] {
        MStatus st;
        Placed placed = createMesh(numVertices, numPolygons, vertexArray, polygonCounts,
                                   polygonConnects, &uArray, &vArray, parentOrOwner, st);
        return adopt(placed.target, placed.returned, st, ReturnStatus);
    });
}

MObject MFnMesh::copy(const MObject& source, MObject parentOrOwner, MStatus* ReturnStatus) {
    return ehost::guardEntry(ReturnStatus, "MFnMesh::copy", MObject(), [&] {
        MStatus st;
        auto from = MeshTarget::fromObject(source, &st);
        if (!from) {
            setStatus(ReturnStatus, st);
            return MObject();
        }
        MeshGeometry geometry = *from->geometry();
        Placed placed = place(std::move(geometry), parentOrOwner, st);
        return adopt(placed.target, placed.returned, st, ReturnStatus);
    });
}

// ---------------------------------------------------------------- editing

MObject MFnMesh::addPolygon(const MPointArray& vertexArray, bool mergeVertices,
                            double pointTolerance, MObject parentOrOwner, MStatus* ReturnStatus) {
    int faceIndex = -1;
    return addPolygon(vertexArray, faceIndex, mergeVertices, pointTolerance, parentOrOwner,
                      ReturnStatus);
}

MObject MFnMesh::addPolygon(const MPointArray& vertexArray, int& faceIndex, bool mergeVertices,
                            double pointTolerance, MObject parentOrOwner, MStatus* ReturnStatus) {
    return ehost::guardEntry(ReturnStatus, "MFnMesh::addPolygon", MObject(), [&] {
        const std::vector<Vec3> corners = toPoints(vertexArray);
        if (!impl_.target) {
            MeshGeometry geometry;
            ehost::AddPolygonResult added =
                geometry.addPolygon(corners, mergeVertices, pointTolerance);
            if (!added) {
                setStatus(ReturnStatus, invalid(added.error));
                return MObject();
            }
            MStatus st;
            Placed placed = place(std::move(geometry), parentOrOwner, st);
            if (st) faceIndex = added.face;
            return adopt(placed.target, placed.returned, st, ReturnStatus);
        }
        int face = -1;
        MStatus st = impl_.target->edit([&](MeshGeometry& g) {
            ehost::AddPolygonResult added = g.addPolygon(corners, mergeVertices, pointTolerance);
            face = added.face;
            return added;
        });
        setStatus(ReturnStatus, st);
        if (!st) return MObject();
        faceIndex = face;
        return obj_;
    });
}

MStatus MFnMesh::deleteFace(int faceId, MDGModifier*) {
    if (!impl_.target) return ehost::api::noMesh();
    {
        const int faces = impl_.target->geometry()->numFaces();
        if (faceId < 0 || faceId >= faces) return outOfRange("face", faceId, faces);
    }
    return impl_.target->edit([&](MeshGeometry& g) { return g.deleteFace(faceId); });
}

// ---------------------------------------------------------------- sizes and topology

namespace {

//! Reads one value from the attached mesh, or reports that nothing is attached.
template <class T, class Read>
T readMesh(const Target& target, MStatus* status, T fallback, Read&& read) {
    if (!target) {
        setStatus(status, ehost::api::noMesh());
        return fallback;
    }
    setStatus(status, MStatus::kSuccess);
    return read(*target->geometry());
}

MStatus checkFace(const MeshGeometry& g, int face) {
    return face >= 0 && face < g.numFaces() ? MStatus(MStatus::kSuccess)
                                            : outOfRange("face", face, g.numFaces());
}

MStatus checkVertex(const MeshGeometry& g, int vertex) {
    return vertex >= 0 && vertex < g.numVertices() ? MStatus(MStatus::kSuccess)
                                                   : outOfRange("vertex", vertex, g.numVertices());
}

MStatus checkEdge(const MeshGeometry& g, int edge) {
    return edge >= 0 && edge < g.numEdges() ? MStatus(MStatus::kSuccess)
                                            : outOfRange("edge", edge, g.numEdges());
}

}  // namespace

int MFnMesh::numVertices(MStatus* ReturnStatus) const {
    return readMesh(impl_.target, ReturnStatus, 0,
                    [](const MeshGeometry& g) { return g.numVertices(); });
}

int MFnMesh::numEdges(MStatus* ReturnStatus) const {
    return readMesh(impl_.target, ReturnStatus, 0,
                    [](const MeshGeometry& g) { return g.numEdges(); });
}

int MFnMesh::numPolygons(MStatus* ReturnStatus) const {
    return readMesh(impl_.target, ReturnStatus, 0,
                    [](const MeshGeometry& g) { return g.numFaces(); });
}

int MFnMesh::numFaceVertices(MStatus* ReturnStatus) const {
    return readMesh(impl_.target, ReturnStatus, 0,
                    [](const MeshGeometry& g) { return g.numFaceVertices(); });
}

int MFnMesh::numNormals(MStatus* ReturnStatus) const {
    return numFaceVertices(ReturnStatus);
}

int MFnMesh::polygonVertexCount(int polygonId, MStatus* ReturnStatus) const {
    return readMesh(impl_.target, ReturnStatus, 0, [&](const MeshGeometry& g) {
        MStatus st = checkFace(g, polygonId);
        setStatus(ReturnStatus, st);
        return st ? g.polygonVertexCount(polygonId) : 0;
    });
}

MStatus MFnMesh::getVertices(MIntArray& vertexCount, MIntArray& vertexList) const {
    if (!impl_.target) return ehost::api::noMesh();
    auto g = impl_.target->geometry();
    ehost::api::assign(vertexCount, g->polygonCounts());
    ehost::api::assign(vertexList, g->polygonConnects());
    return MStatus::kSuccess;
}

MStatus MFnMesh::getPolygonVertices(int polygonId, MIntArray& vertexList) const {
    if (!impl_.target) return ehost::api::noMesh();
    auto g = impl_.target->geometry();
    MStatus st = checkFace(*g, polygonId);
    if (st) ehost::api::assign(vertexList, g->faceVertices(polygonId));
    return st;
}

MStatus MFnMesh::getEdgeVertices(int edgeId, int2& vertexList) const {
    if (!impl_.target) return ehost::api::noMesh();
    auto g = impl_.target->geometry();
    MStatus st = checkEdge(*g, edgeId);
    if (!st) return st;
    const ehost::EdgeVertices ends = g->edgeVertices(edgeId);
    vertexList[0] = ends.first;
    vertexList[1] = ends.second;
    return MStatus::kSuccess;
}

MStatus MFnMesh::getPolygonTriangleVertices(int polygonId, int triangleId,
                                            int vertexList[3]) const {
    if (!impl_.target) return ehost::api::noMesh();
    auto g = impl_.target->geometry();
    MStatus st = checkFace(*g, polygonId);
    if (!st) return st;
    if (triangleId < 0 || triangleId >= g->numFaceTriangles(polygonId))
        return outOfRange("triangle", triangleId, g->numFaceTriangles(polygonId));
    const auto tri = g->faceTriangleVertices(polygonId, triangleId);
    std::copy(tri.begin(), tri.end(), vertexList);
    return MStatus::kSuccess;
}

MStatus MFnMesh::getTriangles(MIntArray& triangleCounts, MIntArray& triangleVertices) const {
    if (!impl_.target) return ehost::api::noMesh();
    auto g = impl_.target->geometry();
    std::vector<int> counts, vertices;
    counts.reserve(g->numFaces());
    for (int f = 0; f < g->numFaces(); ++f) {
        counts.push_back(g->numFaceTriangles(f));
        for (int t = 0; t < counts.back(); ++t)
            for (int v : g->faceTriangleVertices(f, t)) vertices.push_back(v);
    }
    ehost::api::assign(triangleCounts, counts);
    ehost::api::assign(triangleVertices, vertices);
    return MStatus::kSuccess;
}

bool MFnMesh::onBoundary(int polygonId, MStatus* ReturnStatus) const {
    return readMesh(impl_.target, ReturnStatus, false, [&](const MeshGeometry& g) {
        MStatus st = checkFace(g, polygonId);
        setStatus(ReturnStatus, st);
        if (!st) return false;
        for (int e : g.faceEdges(polygonId))
            if (g.isEdgeOnBoundary(e)) return true;
        return false;
    });
}

// ---------------------------------------------------------------- points

namespace {

template <class PointArray>
MStatus readPoints(const Target& target, PointArray& out, MSpace::Space space) {
    if (!target) return ehost::api::noMesh();
    SpaceFrame frame;
    MStatus st = target->frame(space, frame);
    if (!st) return st;
    auto g = target->geometry();
    using Point = std::remove_reference_t<decltype(out[0])>;
    using Coordinate = decltype(Point::x);
    if (MStatus sized = out.setLength(static_cast<unsigned>(g->numVertices())); !sized)
        return sized;
    for (int i = 0; i < g->numVertices(); ++i) {
        const Vec3 p = frame.pointOut(g->point(i));
        out[i] = Point(static_cast<Coordinate>(p.x), static_cast<Coordinate>(p.y),
                       static_cast<Coordinate>(p.z));
    }
    return MStatus::kSuccess;
}

template <class PointArray>
MStatus writePoints(const Target& target, const PointArray& points, MSpace::Space space) {
    if (!target) return ehost::api::noMesh();
    SpaceFrame frame;
    MStatus st = target->frame(space, frame);
    if (!st) return st;
    return target->setPoints(ehost::api::toObjectPoints(points, frame));
}

}  // namespace

MStatus MFnMesh::getPoints(MFloatPointArray& vertexArray, MSpace::Space space) const {
    return ehost::guardEntry("MFnMesh::getPoints",
                             [&] { return readPoints(impl_.target, vertexArray, space); });
}

MStatus MFnMesh::getPoints(MPointArray& vertexArray, MSpace::Space space) const {
    return ehost::guardEntry("MFnMesh::getPoints",
                             [&] { return readPoints(impl_.target, vertexArray, space); });
}

MStatus MFnMesh::setPoints(const MFloatPointArray& vertexArray, MSpace::Space space) {
    return ehost::guardEntry("MFnMesh::setPoints",
                             [&] { return writePoints(impl_.target, vertexArray, space); });
}

MStatus MFnMesh::setPoints(const MPointArray& vertexArray, MSpace::Space space) {
    return ehost::guardEntry("MFnMesh::setPoints",
                             [&] { return writePoints(impl_.target, vertexArray, space); });
}

MStatus MFnMesh::getPoint(int vertexId, MPoint& pos, MSpace::Space space) const {
    if (!impl_.target) return ehost::api::noMesh();
    SpaceFrame frame;
    MStatus st = impl_.target->frame(space, frame);
    if (!st) return st;
    auto g = impl_.target->geometry();
    if (!(st = checkVertex(*g, vertexId))) return st;
    pos = ehost::toPoint(frame.pointOut(g->point(vertexId)));
    return MStatus::kSuccess;
}

MStatus MFnMesh::setPoint(int vertexId, const MPoint& pos, MSpace::Space space) {
    if (!impl_.target) return ehost::api::noMesh();
    SpaceFrame frame;
    MStatus st = impl_.target->frame(space, frame);
    if (!st) return st;
    return impl_.target->setPoint(vertexId, frame.pointIn(ehost::toVec3(pos)));
}

// ---------------------------------------------------------------- normals

namespace {

//! Runs a normal query in a space: checks attachment and space, then hands
//! the geometry and frame to the query.
template <class Query>
MStatus normalQuery(const Target& target, MSpace::Space space, Query&& query) {
    if (!target) return ehost::api::noMesh();
    SpaceFrame frame;
    MStatus st = target->frame(space, frame);
    if (!st) return st;
    return query(*target->geometry(), frame);
}

MFloatVector toFloatVector(const Vec3& v) {
    return MFloatVector(static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z));
}

}  // namespace

MStatus MFnMesh::getPolygonNormal(int polygonId, MVector& normal, MSpace::Space space) const {
    return normalQuery(impl_.target, space, [&](const MeshGeometry& g, const SpaceFrame& frame) {
        MStatus st = checkFace(g, polygonId);
        if (st) normal = ehost::toVector(frame.normalOut(g.faceNormal(polygonId)));
        return st;
    });
}

MStatus MFnMesh::getVertexNormal(int vertexId, MVector& normal, MSpace::Space space) const {
    return getVertexNormal(vertexId, false, normal, space);
}

MStatus MFnMesh::getVertexNormal(int vertexId, bool angleWeighted, MVector& normal,
                                 MSpace::Space space) const {
    return normalQuery(impl_.target, space, [&](const MeshGeometry& g, const SpaceFrame& frame) {
        MStatus st = checkVertex(g, vertexId);
        if (!st) return st;
        const Vec3 n =
            angleWeighted ? ehost::api::angleWeightedNormal(g, vertexId) : g.vertexNormal(vertexId);
        normal = ehost::toVector(frame.normalOut(n));
        return st;
    });
}

MStatus MFnMesh::getVertexNormals(bool angleWeighted, MFloatVectorArray& normals,
                                  MSpace::Space space) const {
    return normalQuery(impl_.target, space, [&](const MeshGeometry& g, const SpaceFrame& frame) {
        if (MStatus sized = normals.setLength(static_cast<unsigned>(g.numVertices())); !sized)
            return sized;
        for (int v = 0; v < g.numVertices(); ++v) {
            const Vec3 n =
                angleWeighted ? ehost::api::angleWeightedNormal(g, v) : g.vertexNormals()[v];
            normals[v] = toFloatVector(frame.normalOut(n));
        }
        return MStatus(MStatus::kSuccess);
    });
}

MStatus MFnMesh::getFaceVertexNormal(int faceIndex, int vertexIndex, MVector& normal,
                                     MSpace::Space space) const {
    return normalQuery(impl_.target, space, [&](const MeshGeometry& g, const SpaceFrame& frame) {
        MStatus st = checkFace(g, faceIndex);
        if (!st) return st;
        const int corner = ehost::api::cornerOf(g, faceIndex, vertexIndex);
        if (corner < 0)
            return invalid("vertex " + std::to_string(vertexIndex) + " is not a corner of face " +
                           std::to_string(faceIndex));
        normal = ehost::toVector(frame.normalOut(g.faceVertexNormal(faceIndex, corner)));
        return st;
    });
}

MStatus MFnMesh::getFaceVertexNormals(int faceIndex, MFloatVectorArray& normals,
                                      MSpace::Space space) const {
    return normalQuery(impl_.target, space, [&](const MeshGeometry& g, const SpaceFrame& frame) {
        MStatus st = checkFace(g, faceIndex);
        if (!st) return st;
        const int n = g.polygonVertexCount(faceIndex);
        if (MStatus sized = normals.setLength(static_cast<unsigned>(n)); !sized) return sized;
        for (int i = 0; i < n; ++i)
            normals[i] = toFloatVector(frame.normalOut(g.faceVertexNormal(faceIndex, i)));
        return st;
    });
}

MStatus MFnMesh::getNormals(MFloatVectorArray& normals, MSpace::Space space) const {
    return normalQuery(impl_.target, space, [&](const MeshGeometry& g, const SpaceFrame& frame) {
        const auto& all = g.faceVertexNormals();
        if (MStatus sized = normals.setLength(static_cast<unsigned>(all.size())); !sized)
            return sized;
        for (std::size_t i = 0; i < all.size(); ++i)
            normals[static_cast<unsigned>(i)] = toFloatVector(frame.normalOut(all[i]));
        return MStatus(MStatus::kSuccess);
    });
}

MStatus MFnMesh::getNormalIds(MIntArray& normalIdCounts, MIntArray& normalIds) const {
    if (!impl_.target) return ehost::api::noMesh();
    auto g = impl_.target->geometry();
    ehost::api::assign(normalIdCounts, g->polygonCounts());
    if (MStatus sized = normalIds.setLength(static_cast<unsigned>(g->numFaceVertices())); !sized)
        return sized;
    for (int i = 0; i < g->numFaceVertices(); ++i) normalIds[i] = i;
    return MStatus::kSuccess;
}

MStatus MFnMesh::getFaceNormalIds(int faceIndex, MIntArray& normals) const {
    if (!impl_.target) return ehost::api::noMesh();
    auto g = impl_.target->geometry();
    MStatus st = checkFace(*g, faceIndex);
    if (!st) return st;
    const int first = g->faceOffsets()[faceIndex];
    if (MStatus sized = normals.setLength(static_cast<unsigned>(g->polygonVertexCount(faceIndex)));
        !sized)
        return sized;
    for (unsigned i = 0; i < normals.length(); ++i) normals[i] = first + static_cast<int>(i);
    return st;
}

// ---------------------------------------------------------------- edge smoothing

bool MFnMesh::isEdgeSmooth(int edgeId, MStatus* ReturnStatus) const {
    return readMesh(impl_.target, ReturnStatus, false, [&](const MeshGeometry& g) {
        MStatus st = checkEdge(g, edgeId);
        setStatus(ReturnStatus, st);
        return st && g.isEdgeSmooth(edgeId);
    });
}

MStatus MFnMesh::setEdgeSmoothing(int edgeId, bool smooth) {
    if (!impl_.target) return ehost::api::noMesh();
    {
        MStatus st = checkEdge(*impl_.target->geometry(), edgeId);
        if (!st) return st;
    }
    return impl_.target->edit([&](MeshGeometry& g) { return g.setEdgeSmoothing(edgeId, smooth); });
}

MStatus MFnMesh::setEdgeSmoothings(const MIntArray& edgeIds, const MIntArray& smooths) {
    if (!impl_.target) return ehost::api::noMesh();
    if (edgeIds.length() != smooths.length())
        return invalid("edgeIds has " + std::to_string(edgeIds.length()) +
                       " entries but smooths has " + std::to_string(smooths.length()));
    {
        auto g = impl_.target->geometry();
        for (int e : edgeIds) {
            MStatus st = checkEdge(*g, e);
            if (!st) return st;
        }
    }
    const std::vector<int> ids = ehost::api::toVector(edgeIds),
                           flags = ehost::api::toVector(smooths);
    return impl_.target->edit([&](MeshGeometry& g) { return g.setEdgeSmoothings(ids, flags); });
}

MStatus MFnMesh::cleanupEdgeSmoothing() {
    if (!impl_.target) return ehost::api::noMesh();
    if (impl_.target->isData())
        return impl_.target->edit([](MeshGeometry& g) {
            g.cleanupEdgeSmoothing();
            return ehost::MeshStatus{};
        });
    // A shape's normals are derived from its output, which follows the flags.
    return MStatus::kSuccess;
}

MStatus MFnMesh::updateSurface() {
    return impl_.target ? MStatus(MStatus::kSuccess) : ehost::api::noMesh();
}

MStatus MFnMesh::syncObject() {
    return updateSurface();
}
