#include <maya/MItMeshPolygon.h>

#include <set>

#include "host/src/api/mesh/MeshApi.h"
#include "host/src/api/mesh/MeshCursor.h"
#include "host/src/dg/Api.h"

using ehost::MeshGeometry;
using ehost::SpaceFrame;
using ehost::Vec3;
using ehost::api::MeshCursor;
using ehost::api::MeshElement;
using ehost::api::setStatus;
using Geometry = std::shared_ptr<const MeshGeometry>;

namespace {

MStatus badCorner(int face, int corner, int corners) {
    return MStatus(MStatus::kInvalidParameter,
                   "face " + std::to_string(face) + " has " + std::to_string(corners) +
                       " corners: there is no corner " + std::to_string(corner));
}

MStatus checkCorner(const MeshGeometry& g, int face, int corner) {
    const int n = g.polygonVertexCount(face);
    return corner >= 0 && corner < n ? MStatus(MStatus::kSuccess) : badCorner(face, corner, n);
}

//! Faces sharing an edge with the face, ascending, without it.
std::vector<int> neighbourFaces(const MeshGeometry& g, int face) {
    std::set<int> out;
    for (int e : g.faceEdges(face))
        for (int f : g.edgeFaces(e))
            if (f != face) out.insert(f);
    return {out.begin(), out.end()};
}

//! Edges touching the face's corners that are not the face's own, ascending.
std::vector<int> neighbourEdges(const MeshGeometry& g, int face) {
    const auto own = g.faceEdges(face);
    std::set<int> out;
    for (int v : g.faceVertices(face))
        for (int e : g.vertexEdges(v))
            if (!ehost::api::contains(own, e)) out.insert(e);
    return {out.begin(), out.end()};
}

//! Vertices joined by an edge to the face's corners, not corners themselves, ascending.
std::vector<int> neighbourVertices(const MeshGeometry& g, int face) {
    const auto corners = g.faceVertices(face);
    std::set<int> out;
    for (int v : corners)
        for (int w : g.connectedVertices(v))
            if (!ehost::api::contains(corners, w)) out.insert(w);
    return {out.begin(), out.end()};
}

double triangleArea(const Vec3& a, const Vec3& b, const Vec3& c) {
    return 0.5 * ehost::length(cross(b - a, c - a));
}

}  // namespace

MItMeshPolygon::MItMeshPolygon(const MObject& polyObject, MStatus* ReturnStatus)
    : impl_(MeshCursor::open(MeshElement::kFace, polyObject, ReturnStatus)) {}

MItMeshPolygon::MItMeshPolygon(const MDagPath& polyObject, MObject& component,
                               MStatus* ReturnStatus)
    : impl_(MeshCursor::open(MeshElement::kFace, polyObject, component, ReturnStatus)) {}

MItMeshPolygon::~MItMeshPolygon() = default;

bool MItMeshPolygon::isDone(MStatus* ReturnStatus) {
    return impl_->isDone(ReturnStatus);
}

MStatus MItMeshPolygon::next() {
    return impl_->next();
}

MStatus MItMeshPolygon::reset() {
    return impl_->reset();
}

MStatus MItMeshPolygon::reset(const MObject& polyObject) {
    return impl_->attach(polyObject);
}

MStatus MItMeshPolygon::reset(const MDagPath& polyObject, MObject& component) {
    return impl_->attach(polyObject, component);
}

int MItMeshPolygon::count(MStatus* ReturnStatus) {
    return impl_->count(ReturnStatus);
}

int MItMeshPolygon::index(MStatus* ReturnStatus) {
    return impl_->index(ReturnStatus);
}

MStatus MItMeshPolygon::setIndex(int index, int& prevIndex) {
    return impl_->setIndex(index, prevIndex);
}

MObject MItMeshPolygon::currentItem(MStatus* ReturnStatus) {
    return impl_->currentItem(ReturnStatus);
}

// ---------------------------------------------------------------- corners

unsigned int MItMeshPolygon::polygonVertexCount(MStatus* ReturnStatus) {
    return impl_->read(ReturnStatus, 0u, [](const MeshGeometry& g, int face) {
        return static_cast<unsigned>(g.polygonVertexCount(face));
    });
}

MStatus MItMeshPolygon::getVertices(MIntArray& vertices) {
    return impl_->visit([&](const MeshGeometry& g, int face) {
        ehost::api::assign(vertices, g.faceVertices(face));
    });
}

int MItMeshPolygon::vertexIndex(int index, MStatus* ReturnStatus) {
    Geometry g;
    MStatus st = impl_->here(g);
    if (st) st = checkCorner(*g, impl_->current(), index);
    setStatus(ReturnStatus, st);
    return st ? g->faceVertices(impl_->current())[index] : -1;
}

int MItMeshPolygon::normalIndex(int localVertexIndex, MStatus* ReturnStatus) const {
    Geometry g;
    MStatus st = impl_->here(g);
    if (st) st = checkCorner(*g, impl_->current(), localVertexIndex);
    setStatus(ReturnStatus, st);
    return st ? g->faceVertexIndex(impl_->current(), localVertexIndex) : -1;
}

MPoint MItMeshPolygon::point(int index, MSpace::Space space, MStatus* ReturnStatus) {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    if (st) st = checkCorner(*g, impl_->current(), index);
    setStatus(ReturnStatus, st);
    if (!st) return MPoint();
    return ehost::toPoint(frame.pointOut(g->point(g->faceVertices(impl_->current())[index])));
}

MStatus MItMeshPolygon::getPoints(MPointArray& pointArray, MSpace::Space space,
                                  MStatus* ReturnStatus) {
    MStatus st = impl_->visit(space, [&](const MeshGeometry& g, const SpaceFrame& frame, int face) {
        pointArray.clear();
        for (int v : g.faceVertices(face))
            pointArray.append(ehost::toPoint(frame.pointOut(g.point(v))));
    });
    setStatus(ReturnStatus, st);
    return st;
}

MStatus MItMeshPolygon::setPoint(const MPoint& point, unsigned int index, MSpace::Space space) {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    if (st) st = checkCorner(*g, impl_->current(), static_cast<int>(index));
    if (!st) return st;
    const int vertex = g->faceVertices(impl_->current())[index];
    g.reset();  // an edit must not find the geometry shared with us
    return impl_->target().setPoint(vertex, frame.pointIn(ehost::toVec3(point)));
}

MStatus MItMeshPolygon::setPoints(MPointArray& pointArray, MSpace::Space space) {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    if (!st) return st;
    const auto corners = g->faceVertices(impl_->current());
    if (pointArray.length() != corners.size())
        return MStatus(MStatus::kInvalidParameter,
                       "face " + std::to_string(impl_->current()) + " has " +
                           std::to_string(corners.size()) + " corners but " +
                           std::to_string(pointArray.length()) + " points were given");
    std::vector<Vec3> points = g->points();
    for (std::size_t i = 0; i < corners.size(); ++i)
        points[corners[i]] = frame.pointIn(ehost::toVec3(pointArray[static_cast<unsigned>(i)]));
    g.reset();
    return impl_->target().setPoints(points);
}

MPoint MItMeshPolygon::center(MSpace::Space space, MStatus* ReturnStatus) {
    return impl_->read(
        space, ReturnStatus, MPoint(),
        [](const MeshGeometry& g, const SpaceFrame& frame, int face) {
            Vec3 sum;
            const auto corners = g.faceVertices(face);
            for (int v : corners) sum += g.point(v);
            return ehost::toPoint(frame.pointOut(sum / static_cast<double>(corners.size())));
        });
}

MStatus MItMeshPolygon::getArea(double& area, MSpace::Space space) {
    return impl_->visit(space, [&](const MeshGeometry& g, const SpaceFrame& frame, int face) {
        area = 0;
        for (int t = 0; t < g.numFaceTriangles(face); ++t) {
            const auto tri = g.faceTriangleVertices(face, t);
            area += triangleArea(frame.pointOut(g.point(tri[0])), frame.pointOut(g.point(tri[1])),
                                 frame.pointOut(g.point(tri[2])));
        }
    });
}

// ---------------------------------------------------------------- normals

MStatus MItMeshPolygon::getNormal(MVector& normal, MSpace::Space space) const {
    return impl_->visit(space, [&](const MeshGeometry& g, const SpaceFrame& frame, int face) {
        normal = ehost::toVector(frame.normalOut(g.faceNormal(face)));
    });
}

MStatus MItMeshPolygon::getNormal(unsigned int vertexIndex, MVector& normal,
                                  MSpace::Space space) const {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    if (st) st = checkCorner(*g, impl_->current(), static_cast<int>(vertexIndex));
    if (st)
        normal = ehost::toVector(
            frame.normalOut(g->faceVertexNormal(impl_->current(), static_cast<int>(vertexIndex))));
    return st;
}

MStatus MItMeshPolygon::getNormals(MVectorArray& vectorArray, MSpace::Space space) const {
    return impl_->visit(space, [&](const MeshGeometry& g, const SpaceFrame& frame, int face) {
        vectorArray.clear();
        for (int i = 0; i < g.polygonVertexCount(face); ++i)
            vectorArray.append(ehost::toVector(frame.normalOut(g.faceVertexNormal(face, i))));
    });
}

// ---------------------------------------------------------------- adjacency

MStatus MItMeshPolygon::getEdges(MIntArray& edges) {
    return impl_->visit(
        [&](const MeshGeometry& g, int face) { ehost::api::assign(edges, g.faceEdges(face)); });
}

MStatus MItMeshPolygon::getConnectedFaces(MIntArray& faces) {
    return impl_->visit([&](const MeshGeometry& g, int face) {
        ehost::api::assign(faces, neighbourFaces(g, face));
    });
}

MStatus MItMeshPolygon::getConnectedEdges(MIntArray& edges) {
    return impl_->visit([&](const MeshGeometry& g, int face) {
        ehost::api::assign(edges, neighbourEdges(g, face));
    });
}

MStatus MItMeshPolygon::getConnectedVertices(MIntArray& vertices) {
    return impl_->visit([&](const MeshGeometry& g, int face) {
        ehost::api::assign(vertices, neighbourVertices(g, face));
    });
}

MStatus MItMeshPolygon::numConnectedFaces(int& faceCount) const {
    return impl_->visit([&](const MeshGeometry& g, int face) {
        faceCount = static_cast<int>(neighbourFaces(g, face).size());
    });
}

MStatus MItMeshPolygon::numConnectedEdges(int& edgeCount) const {
    return impl_->visit([&](const MeshGeometry& g, int face) {
        edgeCount = static_cast<int>(neighbourEdges(g, face).size());
    });
}

bool MItMeshPolygon::isConnectedToFace(int index, MStatus* ReturnStatus) {
    return impl_->read(ReturnStatus, false, [&](const MeshGeometry& g, int face) {
        return ehost::api::contains(neighbourFaces(g, face), index);
    });
}

bool MItMeshPolygon::isConnectedToEdge(int index, MStatus* ReturnStatus) {
    return impl_->read(ReturnStatus, false, [&](const MeshGeometry& g, int face) {
        if (index < 0 || index >= g.numEdges()) return false;
        const ehost::EdgeVertices ends = g.edgeVertices(index);
        return ehost::api::contains(g.faceVertices(face), ends.first) ||
               ehost::api::contains(g.faceVertices(face), ends.second);
    });
}

bool MItMeshPolygon::isConnectedToVertex(int index, MStatus* ReturnStatus) {
    return impl_->read(ReturnStatus, false, [&](const MeshGeometry& g, int face) {
        return ehost::api::contains(g.faceVertices(face), index) ||
               ehost::api::contains(neighbourVertices(g, face), index);
    });
}

bool MItMeshPolygon::onBoundary(MStatus* ReturnStatus) {
    return impl_->read(ReturnStatus, false, [](const MeshGeometry& g, int face) {
        for (int e : g.faceEdges(face))
            if (g.isEdgeOnBoundary(e)) return true;
        return false;
    });
}

// ---------------------------------------------------------------- UVs

namespace {

//! The UV id of a corner, checked: iterator, set, corner, assignment.
MStatus cornerUV(const MeshCursor& cursor, int corner, const MString* uvSet, Geometry& g, int& id) {
    MStatus st = cursor.here(g);
    if (st) st = ehost::api::checkUVSet(*g, uvSet);
    if (st) st = checkCorner(*g, cursor.current(), corner);
    if (!st) return st;
    id = g->polygonUVid(cursor.current(), corner, ehost::api::uvSetName(uvSet));
    if (id < 0)
        return MStatus(MStatus::kInvalidParameter,
                       "face " + std::to_string(cursor.current()) + " has no UVs in set " +
                           (uvSet && !uvSet->str().empty() ? uvSet->str() : g->currentUVSetName()));
    return st;
}

bool faceHasUVs(const MeshCursor& cursor, const MString* uvSet, MStatus* status) {
    Geometry g;
    MStatus st = cursor.here(g);
    if (st) st = ehost::api::checkUVSet(*g, uvSet);
    setStatus(status, st);
    return st && g->polygonUVid(cursor.current(), 0, ehost::api::uvSetName(uvSet)) >= 0;
}

}  // namespace

bool MItMeshPolygon::hasUVs(MStatus* ReturnStatus) const {
    return faceHasUVs(*impl_, nullptr, ReturnStatus);
}

bool MItMeshPolygon::hasUVs(const MString& uvSet, MStatus* ReturnStatus) const {
    return faceHasUVs(*impl_, &uvSet, ReturnStatus);
}

MStatus MItMeshPolygon::getUVIndex(int vertex, int& index, const MString* uvSet) {
    Geometry g;
    int id = -1;
    MStatus st = cornerUV(*impl_, vertex, uvSet, g, id);
    if (st) index = id;
    return st;
}

MStatus MItMeshPolygon::getUVIndex(int vertex, int& index, float& u, float& v,
                                   const MString* uvSet) {
    Geometry g;
    int id = -1;
    MStatus st = cornerUV(*impl_, vertex, uvSet, g, id);
    if (!st) return st;
    index = id;
    g->getUV(id, u, v, ehost::api::uvSetName(uvSet));
    return st;
}

MStatus MItMeshPolygon::getUV(int vertex, float2& uvPoint, const MString* uvSet) const {
    Geometry g;
    int id = -1;
    MStatus st = cornerUV(*impl_, vertex, uvSet, g, id);
    if (st) g->getUV(id, uvPoint[0], uvPoint[1], ehost::api::uvSetName(uvSet));
    return st;
}

MStatus MItMeshPolygon::getUVs(MFloatArray& uArray, MFloatArray& vArray,
                               const MString* uvSet) const {
    uArray.clear();
    vArray.clear();
    Geometry g;
    MStatus st = impl_->here(g);
    if (!st) return st;
    const int n = g->polygonVertexCount(impl_->current());
    for (int corner = 0; corner < n; ++corner) {
        int id = -1;
        if (!(st = cornerUV(*impl_, corner, uvSet, g, id))) return st;
        float u = 0, v = 0;
        g->getUV(id, u, v, ehost::api::uvSetName(uvSet));
        uArray.append(u);
        vArray.append(v);
    }
    return st;
}

// ---------------------------------------------------------------- triangles

bool MItMeshPolygon::hasValidTriangulation(MStatus* ReturnStatus) const {
    return impl_->read(ReturnStatus, false, [](const MeshGeometry& g, int face) {
        return g.numFaceTriangles(face) > 0;
    });
}

MStatus MItMeshPolygon::numTriangles(int& triCount) const {
    return impl_->visit(
        [&](const MeshGeometry& g, int face) { triCount = g.numFaceTriangles(face); });
}

MStatus MItMeshPolygon::getTriangle(int localTriIndex, MPointArray& points, MIntArray& vertexList,
                                    MSpace::Space space) const {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    if (!st) return st;
    const int face = impl_->current();
    if (localTriIndex < 0 || localTriIndex >= g->numFaceTriangles(face))
        return ehost::api::outOfRange("triangle", localTriIndex, g->numFaceTriangles(face));
    points.clear();
    vertexList.clear();
    for (int v : g->faceTriangleVertices(face, localTriIndex)) {
        points.append(ehost::toPoint(frame.pointOut(g->point(v))));
        vertexList.append(v);
    }
    return st;
}

MStatus MItMeshPolygon::getTriangles(MPointArray& points, MIntArray& vertexList,
                                     MSpace::Space space) const {
    return impl_->visit(space, [&](const MeshGeometry& g, const SpaceFrame& frame, int face) {
        points.clear();
        vertexList.clear();
        for (int t = 0; t < g.numFaceTriangles(face); ++t)
            for (int v : g.faceTriangleVertices(face, t)) {
                points.append(ehost::toPoint(frame.pointOut(g.point(v))));
                vertexList.append(v);
            }
    });
}

MStatus MItMeshPolygon::updateSurface() {
    return impl_->attachedStatus();
}

MStatus MItMeshPolygon::geomChanged() {
    return updateSurface();
}
