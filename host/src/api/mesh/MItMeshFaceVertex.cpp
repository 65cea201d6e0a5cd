#include <maya/MItMeshFaceVertex.h>

#include "host/src/api/mesh/MeshApi.h"
#include "host/src/api/mesh/MeshCursor.h"
#include "host/src/dg/Api.h"

using ehost::MeshGeometry;
using ehost::SpaceFrame;
using ehost::api::MeshCursor;
using ehost::api::MeshElement;
using ehost::api::setStatus;
using Geometry = std::shared_ptr<const MeshGeometry>;

namespace {

//! The current corner's face and position in it, or a failing status.
MStatus corner(const MeshCursor& cursor, Geometry& g, ehost::FaceVertex& where) {
    MStatus st = cursor.here(g);
    if (st) where = g->faceVertexLocation(cursor.current());
    return st;
}

}  // namespace

MItMeshFaceVertex::MItMeshFaceVertex(const MObject& polyObject, MStatus* ReturnStatus)
    : impl_(MeshCursor::open(MeshElement::kFaceVertex, polyObject, ReturnStatus)) {}

MItMeshFaceVertex::MItMeshFaceVertex(const MDagPath& polyObject, MObject& component,
                                     MStatus* ReturnStatus)
    : impl_(MeshCursor::open(MeshElement::kFaceVertex, polyObject, component, ReturnStatus)) {}

MItMeshFaceVertex::~MItMeshFaceVertex() = default;

bool MItMeshFaceVertex::isDone(MStatus* ReturnStatus) {
    return impl_->isDone(ReturnStatus);
}

MStatus MItMeshFaceVertex::next() {
    return impl_->next();
}

MStatus MItMeshFaceVertex::reset() {
    return impl_->reset();
}

MStatus MItMeshFaceVertex::reset(const MObject& polyObject) {
    return impl_->attach(polyObject);
}

MStatus MItMeshFaceVertex::reset(const MDagPath& polyObject, MObject& component) {
    return impl_->attach(polyObject, component);
}

MStatus MItMeshFaceVertex::setIndex(int faceId, int faceVertexId, int& prevFaceId,
                                    int& prevFaceVertexId) {
    if (!impl_->attached()) return ehost::api::noMesh();
    int target = -1;
    {
        Geometry g = impl_->target().geometry();
        if (faceId < 0 || faceId >= g->numFaces())
            return ehost::api::outOfRange("face", faceId, g->numFaces());
        target = g->faceVertexIndex(faceId, faceVertexId);
        if (target < 0)
            return MStatus(MStatus::kInvalidParameter, "face " + std::to_string(faceId) +
                                                           " has no corner " +
                                                           std::to_string(faceVertexId));
    }
    Geometry g;
    ehost::FaceVertex before;
    const bool wasOn = corner(*impl_, g, before);
    int previous = -1;
    MStatus st = impl_->setIndex(target, previous);
    if (st) {
        prevFaceId = wasOn ? before.face : -1;
        prevFaceVertexId = wasOn ? before.local : -1;
    }
    return st;
}

MObject MItMeshFaceVertex::currentItem(MStatus* ReturnStatus) {
    return impl_->currentItem(ReturnStatus);
}

int MItMeshFaceVertex::vertId(MStatus* ReturnStatus) const {
    return impl_->read(ReturnStatus, -1, [](const MeshGeometry& g, int faceVertex) {
        return g.polygonConnects()[faceVertex];
    });
}

int MItMeshFaceVertex::faceId(MStatus* ReturnStatus) const {
    return impl_->read(ReturnStatus, -1, [](const MeshGeometry& g, int faceVertex) {
        return g.faceVertexLocation(faceVertex).face;
    });
}

int MItMeshFaceVertex::faceVertId(MStatus* ReturnStatus) const {
    return impl_->read(ReturnStatus, -1, [](const MeshGeometry& g, int faceVertex) {
        return g.faceVertexLocation(faceVertex).local;
    });
}

int MItMeshFaceVertex::normalId(MStatus* ReturnStatus) const {
    return impl_->index(ReturnStatus);
}

MPoint MItMeshFaceVertex::position(MSpace::Space space, MStatus* ReturnStatus) {
    return impl_->read(
        space, ReturnStatus, MPoint(),
        [](const MeshGeometry& g, const SpaceFrame& frame, int faceVertex) {
            return ehost::toPoint(frame.pointOut(g.point(g.polygonConnects()[faceVertex])));
        });
}

MStatus MItMeshFaceVertex::getNormal(MVector& normal, MSpace::Space space) const {
    return impl_->visit(space, [&](const MeshGeometry& g, const SpaceFrame& frame, int faceVertex) {
        normal = ehost::toVector(frame.normalOut(g.faceVertexNormals()[faceVertex]));
    });
}

namespace {

//! The current corner's UV id in a set, -1 when its face has none.
MStatus cornerUVid(const MeshCursor& cursor, const MString* uvSet, Geometry& g, int& id) {
    ehost::FaceVertex where;
    MStatus st = corner(cursor, g, where);
    if (st) st = ehost::api::checkUVSet(*g, uvSet);
    if (st) id = g->polygonUVid(where.face, where.local, ehost::api::uvSetName(uvSet));
    return st;
}

bool cornerHasUVs(const MeshCursor& cursor, const MString* uvSet, MStatus* status) {
    Geometry g;
    int id = -1;
    MStatus st = cornerUVid(cursor, uvSet, g, id);
    setStatus(status, st);
    return st && id >= 0;
}

MStatus noUVs(const MeshGeometry& g, int faceVertex) {
    return MStatus(MStatus::kInvalidParameter,
                   "face " + std::to_string(g.faceVertexLocation(faceVertex).face) + " has no UVs");
}

}  // namespace

bool MItMeshFaceVertex::hasUVs(MStatus* ReturnStatus) const {
    return cornerHasUVs(*impl_, nullptr, ReturnStatus);
}

bool MItMeshFaceVertex::hasUVs(const MString& uvSet, MStatus* ReturnStatus) const {
    return cornerHasUVs(*impl_, &uvSet, ReturnStatus);
}

MStatus MItMeshFaceVertex::getUV(float2& uvPoint, const MString* uvSet) const {
    Geometry g;
    int id = -1;
    MStatus st = cornerUVid(*impl_, uvSet, g, id);
    if (!st) return st;
    if (id < 0) return noUVs(*g, impl_->current());
    g->getUV(id, uvPoint[0], uvPoint[1], ehost::api::uvSetName(uvSet));
    return st;
}

MStatus MItMeshFaceVertex::getUVIndex(int& index, const MString* uvSet) const {
    Geometry g;
    int id = -1;
    MStatus st = cornerUVid(*impl_, uvSet, g, id);
    if (!st) return st;
    if (id < 0) return noUVs(*g, impl_->current());
    index = id;
    return st;
}

MStatus MItMeshFaceVertex::updateSurface() {
    return impl_->attachedStatus();
}

MStatus MItMeshFaceVertex::geomChanged() {
    return updateSurface();
}
