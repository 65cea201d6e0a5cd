#include <maya/MItMeshVertex.h>

#include <algorithm>

#include "host/src/api/mesh/MeshApi.h"
#include "host/src/api/mesh/MeshCursor.h"
#include "host/src/dg/Api.h"

using ehost::MeshGeometry;
using ehost::SpaceFrame;
using ehost::api::MeshCursor;
using ehost::api::MeshElement;
using Geometry = std::shared_ptr<const MeshGeometry>;

namespace {

MStatus notConnected(const char* what, int index, int vertex) {
    return MStatus(MStatus::kInvalidParameter, std::string(what) + " " + std::to_string(index) +
                                                   " does not touch vertex " +
                                                   std::to_string(vertex));
}

}  // namespace

MItMeshVertex::MItMeshVertex(const MObject& polyObject, MStatus* ReturnStatus)
    : impl_(MeshCursor::open(MeshElement::kVertex, polyObject, ReturnStatus)) {}

MItMeshVertex::MItMeshVertex(const MDagPath& polyObject, MObject& component, MStatus* ReturnStatus)
    : impl_(MeshCursor::open(MeshElement::kVertex, polyObject, component, ReturnStatus)) {}

MItMeshVertex::~MItMeshVertex() = default;

bool MItMeshVertex::isDone(MStatus* ReturnStatus) {
    return impl_->isDone(ReturnStatus);
}

MStatus MItMeshVertex::next() {
    return impl_->next();
}

MStatus MItMeshVertex::reset() {
    return impl_->reset();
}

MStatus MItMeshVertex::reset(const MObject& polyObject) {
    return impl_->attach(polyObject);
}

MStatus MItMeshVertex::reset(const MDagPath& polyObject, MObject& component) {
    return impl_->attach(polyObject, component);
}

int MItMeshVertex::count(MStatus* ReturnStatus) {
    return impl_->count(ReturnStatus);
}

int MItMeshVertex::index(MStatus* ReturnStatus) {
    return impl_->index(ReturnStatus);
}

MStatus MItMeshVertex::setIndex(int index, int& prevIndex) {
    return impl_->setIndex(index, prevIndex);
}

MObject MItMeshVertex::currentItem(MStatus* ReturnStatus) {
    return impl_->currentItem(ReturnStatus);
}

// ---------------------------------------------------------------- position and normals

MPoint MItMeshVertex::position(MSpace::Space space, MStatus* ReturnStatus) {
    return impl_->read(space, ReturnStatus, MPoint(),
                       [](const MeshGeometry& g, const SpaceFrame& frame, int v) {
                           return ehost::toPoint(frame.pointOut(g.point(v)));
                       });
}

MStatus MItMeshVertex::setPosition(const MPoint& point, MSpace::Space space) {
    return impl_->setPosition(point, space);
}

MStatus MItMeshVertex::translateBy(const MVector& vector, MSpace::Space space) {
    MStatus st;
    const MPoint p = position(space, &st);
    return st ? setPosition(p + vector, space) : st;
}

MStatus MItMeshVertex::getNormal(MVector& vector, MSpace::Space space) {
    return impl_->visit(space, [&](const MeshGeometry& g, const SpaceFrame& frame, int v) {
        vector = ehost::toVector(frame.normalOut(g.vertexNormal(v)));
    });
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
    return impl_->visit(space, [&](const MeshGeometry& g, const SpaceFrame& frame, int v) {
        vectorArray.clear();
        for (int face : g.vertexFaces(v))
            vectorArray.append(ehost::toVector(
                frame.normalOut(g.faceVertexNormal(face, ehost::api::cornerOf(g, face, v)))));
    });
}

MStatus MItMeshVertex::getNormalIndices(MIntArray& normalIndices) {
    return impl_->visit([&](const MeshGeometry& g, int v) {
        normalIndices.clear();
        for (int face : g.vertexFaces(v))
            normalIndices.append(g.faceVertexIndex(face, ehost::api::cornerOf(g, face, v)));
    });
}

// ---------------------------------------------------------------- adjacency

MStatus MItMeshVertex::getConnectedEdges(MIntArray& edgeList) {
    return impl_->visit(
        [&](const MeshGeometry& g, int v) { ehost::api::assign(edgeList, g.vertexEdges(v)); });
}

MStatus MItMeshVertex::getConnectedFaces(MIntArray& faceList) {
    return impl_->visit(
        [&](const MeshGeometry& g, int v) { ehost::api::assign(faceList, g.vertexFaces(v)); });
}

MStatus MItMeshVertex::getConnectedVertices(MIntArray& vertexList) {
    return impl_->visit([&](const MeshGeometry& g, int v) {
        ehost::api::assign(vertexList, g.connectedVertices(v));
    });
}

MStatus MItMeshVertex::numConnectedEdges(int& edgeCount) const {
    return impl_->visit([&](const MeshGeometry& g, int v) {
        edgeCount = static_cast<int>(g.vertexEdges(v).size());
    });
}

MStatus MItMeshVertex::numConnectedFaces(int& faceCount) const {
    return impl_->visit([&](const MeshGeometry& g, int v) {
        faceCount = static_cast<int>(g.vertexFaces(v).size());
    });
}

bool MItMeshVertex::connectedToEdge(int edgeIndex, MStatus* ReturnStatus) {
    return impl_->read(ReturnStatus, false, [&](const MeshGeometry& g, int v) {
        return ehost::api::contains(g.vertexEdges(v), edgeIndex);
    });
}

bool MItMeshVertex::connectedToFace(int faceIndex, MStatus* ReturnStatus) {
    return impl_->read(ReturnStatus, false, [&](const MeshGeometry& g, int v) {
        return ehost::api::contains(g.vertexFaces(v), faceIndex);
    });
}

MStatus MItMeshVertex::getOppositeVertex(int& vertexId, int edgeId) {
    Geometry g;
    MStatus st = impl_->here(g);
    if (!st) return st;
    const int v = impl_->current();
    if (!ehost::api::contains(g->vertexEdges(v), edgeId)) return notConnected("edge", edgeId, v);
    const ehost::EdgeVertices ends = g->edgeVertices(edgeId);
    vertexId = ends.first == v ? ends.second : ends.first;
    return st;
}

bool MItMeshVertex::onBoundary(MStatus* ReturnStatus) {
    return impl_->read(ReturnStatus, false,
                       [](const MeshGeometry& g, int v) { return g.isVertexOnBoundary(v); });
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
    return impl_->attachedStatus();
}

MStatus MItMeshVertex::geomChanged() {
    return updateSurface();
}
