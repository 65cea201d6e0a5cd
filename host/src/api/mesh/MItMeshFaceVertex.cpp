#include <maya/MItMeshFaceVertex.h>

#include "host/src/api/mesh/MeshApi.h"
#include "host/src/api/mesh/MeshCursor.h"
#include "host/src/dg/Api.h"

using ehost::MeshGeometry;
using ehost::api::MeshCursor;
using ehost::api::MeshElement;
using ehost::api::setStatus;
using ehost::api::SpaceFrame;
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
    : impl_(std::make_unique<MeshCursor>(MeshElement::kFaceVertex)) {
    setStatus(ReturnStatus, impl_->attach(polyObject));
}

MItMeshFaceVertex::MItMeshFaceVertex(const MDagPath& polyObject, MObject& component,
                                     MStatus* ReturnStatus)
    : impl_(std::make_unique<MeshCursor>(MeshElement::kFaceVertex)) {
    setStatus(ReturnStatus, impl_->attach(polyObject, component));
}

MItMeshFaceVertex::~MItMeshFaceVertex() = default;

bool MItMeshFaceVertex::isDone(MStatus* ReturnStatus) {
    setStatus(ReturnStatus, MStatus::kSuccess);
    return impl_->isDone();
}

MStatus MItMeshFaceVertex::next() {
    impl_->next();
    return MStatus::kSuccess;
}

MStatus MItMeshFaceVertex::reset() {
    impl_->reset();
    return impl_->attached() ? MStatus(MStatus::kSuccess) : ehost::api::noMesh();
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
    Geometry g;
    MStatus st = impl_->here(g);
    setStatus(ReturnStatus, st);
    return st ? g->polygonConnects()[impl_->current()] : -1;
}

int MItMeshFaceVertex::faceId(MStatus* ReturnStatus) const {
    Geometry g;
    ehost::FaceVertex where;
    MStatus st = corner(*impl_, g, where);
    setStatus(ReturnStatus, st);
    return st ? where.face : -1;
}

int MItMeshFaceVertex::faceVertId(MStatus* ReturnStatus) const {
    Geometry g;
    ehost::FaceVertex where;
    MStatus st = corner(*impl_, g, where);
    setStatus(ReturnStatus, st);
    return st ? where.local : -1;
}

int MItMeshFaceVertex::normalId(MStatus* ReturnStatus) const {
    Geometry g;
    MStatus st = impl_->here(g);
    setStatus(ReturnStatus, st);
    return st ? impl_->current() : -1;
}

MPoint MItMeshFaceVertex::position(MSpace::Space space, MStatus* ReturnStatus) {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    setStatus(ReturnStatus, st);
    return st ? ehost::toPoint(frame.pointOut(g->point(g->polygonConnects()[impl_->current()])))
              : MPoint();
}

MStatus MItMeshFaceVertex::getNormal(MVector& normal, MSpace::Space space) const {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    if (st) normal = ehost::toVector(frame.normalOut(g->faceVertexNormals()[impl_->current()]));
    return st;
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

MStatus noUVs(const MeshGeometry& g, int faceVertex) {
    return MStatus(MStatus::kInvalidParameter,
                   "face " + std::to_string(g.faceVertexLocation(faceVertex).face) + " has no UVs");
}

}  // namespace

bool MItMeshFaceVertex::hasUVs(MStatus* ReturnStatus) const {
    Geometry g;
    int id = -1;
    MStatus st = cornerUVid(*impl_, nullptr, g, id);
    setStatus(ReturnStatus, st);
    return st && id >= 0;
}

bool MItMeshFaceVertex::hasUVs(const MString& uvSet, MStatus* ReturnStatus) const {
    Geometry g;
    int id = -1;
    MStatus st = cornerUVid(*impl_, &uvSet, g, id);
    setStatus(ReturnStatus, st);
    return st && id >= 0;
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
    return impl_->attached() ? MStatus(MStatus::kSuccess) : ehost::api::noMesh();
}

MStatus MItMeshFaceVertex::geomChanged() {
    return updateSurface();
}
