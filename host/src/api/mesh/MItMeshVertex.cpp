#include <maya/MItMeshVertex.h>

#include <algorithm>

#include "host/src/api/mesh/MeshApi.h"
#include "host/src/api/mesh/MeshCursor.h"
#include "host/src/dg/Api.h"

using ehost::MeshGeometry;
using ehost::Vec3;
using ehost::api::MeshCursor;
using ehost::api::MeshElement;
using ehost::api::setStatus;
using ehost::api::SpaceFrame;
using Geometry = std::shared_ptr<const MeshGeometry>;

namespace {

MStatus notConnected(const char* what, int index, int vertex) {
    return MStatus(MStatus::kInvalidParameter, std::string(what) + " " + std::to_string(index) +
                                                   " does not touch vertex " +
                                                   std::to_string(vertex));
}

bool contains(std::span<const int> ids, int id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace

MItMeshVertex::MItMeshVertex(const MObject& polyObject, MStatus* ReturnStatus)
    : impl_(std::make_unique<MeshCursor>(MeshElement::kVertex)) {
    setStatus(ReturnStatus, impl_->attach(polyObject));
}

MItMeshVertex::MItMeshVertex(const MDagPath& polyObject, MObject& component, MStatus* ReturnStatus)
    : impl_(std::make_unique<MeshCursor>(MeshElement::kVertex)) {
    setStatus(ReturnStatus, impl_->attach(polyObject, component));
}

MItMeshVertex::~MItMeshVertex() = default;

bool MItMeshVertex::isDone(MStatus* ReturnStatus) {
    setStatus(ReturnStatus, MStatus::kSuccess);
    return impl_->isDone();
}

MStatus MItMeshVertex::next() {
    impl_->next();
    return MStatus::kSuccess;
}

MStatus MItMeshVertex::reset() {
    impl_->reset();
    return impl_->attached() ? MStatus(MStatus::kSuccess) : ehost::api::noMesh();
}

MStatus MItMeshVertex::reset(const MObject& polyObject) {
    return impl_->attach(polyObject);
}

MStatus MItMeshVertex::reset(const MDagPath& polyObject, MObject& component) {
    return impl_->attach(polyObject, component);
}

int MItMeshVertex::count(MStatus* ReturnStatus) {
    setStatus(ReturnStatus, impl_->attached() ? MStatus(MStatus::kSuccess) : ehost::api::noMesh());
    return impl_->count();
}

int MItMeshVertex::index(MStatus* ReturnStatus) {
    Geometry g;
    MStatus st = impl_->here(g);
    setStatus(ReturnStatus, st);
    return st ? impl_->current() : -1;
}

MStatus MItMeshVertex::setIndex(int index, int& prevIndex) {
    return impl_->setIndex(index, prevIndex);
}

MObject MItMeshVertex::currentItem(MStatus* ReturnStatus) {
    return impl_->currentItem(ReturnStatus);
}

// ---------------------------------------------------------------- position and normals

MPoint MItMeshVertex::position(MSpace::Space space, MStatus* ReturnStatus) {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    setStatus(ReturnStatus, st);
    return st ? ehost::toPoint(frame.pointOut(g->point(impl_->current()))) : MPoint();
}

MStatus MItMeshVertex::setPosition(const MPoint& point, MSpace::Space space) {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    if (!st) return st;
    g.reset();  // an edit must not find the geometry shared with us
    return impl_->target().setPoint(impl_->current(), frame.pointIn(ehost::toVec3(point)));
}

MStatus MItMeshVertex::translateBy(const MVector& vector, MSpace::Space space) {
    MStatus st;
    const MPoint p = position(space, &st);
    return st ? setPosition(p + vector, space) : st;
}

MStatus MItMeshVertex::getNormal(MVector& vector, MSpace::Space space) {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    if (st) vector = ehost::toVector(frame.normalOut(g->vertexNormal(impl_->current())));
    return st;
}

MStatus MItMeshVertex::getNormal(MVector& vector, int faceIndex, MSpace::Space space) {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    if (!st) return st;
    const int corner = faceIndex >= 0 && faceIndex < g->numFaces()
                           ? ehost::api::cornerOf(*g, faceIndex, impl_->current())
                           : -1;
    if (corner < 0) return notConnected("face", faceIndex, impl_->current());
    vector = ehost::toVector(frame.normalOut(g->faceVertexNormal(faceIndex, corner)));
    return st;
}

MStatus MItMeshVertex::getNormals(MVectorArray& vectorArray, MSpace::Space space) {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    if (!st) return st;
    vectorArray.clear();
    const int v = impl_->current();
    for (int face : g->vertexFaces(v))
        vectorArray.append(ehost::toVector(
            frame.normalOut(g->faceVertexNormal(face, ehost::api::cornerOf(*g, face, v)))));
    return st;
}

MStatus MItMeshVertex::getNormalIndices(MIntArray& normalIndices) {
    Geometry g;
    MStatus st = impl_->here(g);
    if (!st) return st;
    normalIndices.clear();
    const int v = impl_->current();
    for (int face : g->vertexFaces(v))
        normalIndices.append(g->faceVertexIndex(face, ehost::api::cornerOf(*g, face, v)));
    return st;
}

// ---------------------------------------------------------------- adjacency

MStatus MItMeshVertex::getConnectedEdges(MIntArray& edgeList) {
    Geometry g;
    MStatus st = impl_->here(g);
    if (st) ehost::api::assign(edgeList, g->vertexEdges(impl_->current()));
    return st;
}

MStatus MItMeshVertex::getConnectedFaces(MIntArray& faceList) {
    Geometry g;
    MStatus st = impl_->here(g);
    if (st) ehost::api::assign(faceList, g->vertexFaces(impl_->current()));
    return st;
}

MStatus MItMeshVertex::getConnectedVertices(MIntArray& vertexList) {
    Geometry g;
    MStatus st = impl_->here(g);
    if (st) ehost::api::assign(vertexList, g->connectedVertices(impl_->current()));
    return st;
}

MStatus MItMeshVertex::numConnectedEdges(int& edgeCount) const {
    Geometry g;
    MStatus st = impl_->here(g);
    if (st) edgeCount = static_cast<int>(g->vertexEdges(impl_->current()).size());
    return st;
}

MStatus MItMeshVertex::numConnectedFaces(int& faceCount) const {
    Geometry g;
    MStatus st = impl_->here(g);
    if (st) faceCount = static_cast<int>(g->vertexFaces(impl_->current()).size());
    return st;
}

bool MItMeshVertex::connectedToEdge(int edgeIndex, MStatus* ReturnStatus) {
    Geometry g;
    MStatus st = impl_->here(g);
    setStatus(ReturnStatus, st);
    return st && contains(g->vertexEdges(impl_->current()), edgeIndex);
}

bool MItMeshVertex::connectedToFace(int faceIndex, MStatus* ReturnStatus) {
    Geometry g;
    MStatus st = impl_->here(g);
    setStatus(ReturnStatus, st);
    return st && contains(g->vertexFaces(impl_->current()), faceIndex);
}

MStatus MItMeshVertex::getOppositeVertex(int& vertexId, int edgeId) {
    Geometry g;
    MStatus st = impl_->here(g);
    if (!st) return st;
    const int v = impl_->current();
    if (!contains(g->vertexEdges(v), edgeId)) return notConnected("edge", edgeId, v);
    const ehost::EdgeVertices ends = g->edgeVertices(edgeId);
    vertexId = ends.first == v ? ends.second : ends.first;
    return st;
}

bool MItMeshVertex::onBoundary(MStatus* ReturnStatus) {
    Geometry g;
    MStatus st = impl_->here(g);
    setStatus(ReturnStatus, st);
    return st && g->isVertexOnBoundary(impl_->current());
}

// ---------------------------------------------------------------- UVs

namespace {

//! Calls visit(face, uvId) for each connected face that has UVs in the set.
template <class Visit>
MStatus forEachUV(const MeshCursor& cursor, const MString* uvSet, Visit&& visit) {
    Geometry g;
    MStatus st = cursor.here(g);
    if (!st) return st;
    if (!(st = ehost::api::checkUVSet(*g, uvSet))) return st;
    const int v = cursor.current();
    for (int face : g->vertexFaces(v)) {
        const int id =
            g->polygonUVid(face, ehost::api::cornerOf(*g, face, v), ehost::api::uvSetName(uvSet));
        if (id >= 0) visit(*g, face, id);
    }
    return st;
}

}  // namespace

MStatus MItMeshVertex::getUVs(MFloatArray& uArray, MFloatArray& vArray, MIntArray& faceIds,
                              const MString* uvSet) {
    uArray.clear();
    vArray.clear();
    faceIds.clear();
    return forEachUV(*impl_, uvSet, [&](const MeshGeometry& g, int face, int id) {
        float u = 0, v = 0;
        g.getUV(id, u, v, ehost::api::uvSetName(uvSet));
        uArray.append(u);
        vArray.append(v);
        faceIds.append(face);
    });
}

MStatus MItMeshVertex::getUV(int faceId, float2& uvPoint, const MString* uvSet) {
    bool found = false;
    MStatus st = forEachUV(*impl_, uvSet, [&](const MeshGeometry& g, int face, int id) {
        if (face != faceId) return;
        found = true;
        g.getUV(id, uvPoint[0], uvPoint[1], ehost::api::uvSetName(uvSet));
    });
    if (st && !found)
        return MStatus(MStatus::kInvalidParameter, "vertex " + std::to_string(impl_->current()) +
                                                       " has no UV in face " +
                                                       std::to_string(faceId));
    return st;
}

MStatus MItMeshVertex::getUVIndices(MIntArray& uvIndices, const MString* uvSet) {
    uvIndices.clear();
    return forEachUV(*impl_, uvSet,
                     [&](const MeshGeometry&, int, int id) { uvIndices.append(id); });
}

MStatus MItMeshVertex::numUVs(int& uvCount, const MString* uvSet) {
    MIntArray ids;
    MStatus st = getUVIndices(ids, uvSet);
    if (st) {
        std::sort(ids.begin(), ids.end());
        uvCount = static_cast<int>(std::unique(ids.begin(), ids.end()) - ids.begin());
    }
    return st;
}

MStatus MItMeshVertex::updateSurface() {
    return impl_->attached() ? MStatus(MStatus::kSuccess) : ehost::api::noMesh();
}

MStatus MItMeshVertex::geomChanged() {
    return updateSurface();
}
