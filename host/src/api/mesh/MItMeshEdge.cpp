#include <maya/MItMeshEdge.h>

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

MStatus badEnd(int whichVertex) {
    return MStatus(MStatus::kInvalidParameter,
                   "an edge has vertex 0 and vertex 1, not vertex " + std::to_string(whichVertex));
}

int endVertex(const MeshGeometry& g, int edge, int whichVertex) {
    const ehost::EdgeVertices ends = g.edgeVertices(edge);
    return whichVertex == 0 ? ends.first : ends.second;
}

}  // namespace

MItMeshEdge::MItMeshEdge(const MObject& polyObject, MStatus* ReturnStatus)
    : impl_(std::make_unique<MeshCursor>(MeshElement::kEdge)) {
    setStatus(ReturnStatus, impl_->attach(polyObject));
}

MItMeshEdge::MItMeshEdge(const MDagPath& polyObject, MObject& component, MStatus* ReturnStatus)
    : impl_(std::make_unique<MeshCursor>(MeshElement::kEdge)) {
    setStatus(ReturnStatus, impl_->attach(polyObject, component));
}

MItMeshEdge::~MItMeshEdge() = default;

bool MItMeshEdge::isDone(MStatus* ReturnStatus) {
    setStatus(ReturnStatus, MStatus::kSuccess);
    return impl_->isDone();
}

MStatus MItMeshEdge::next() {
    impl_->next();
    return MStatus::kSuccess;
}

MStatus MItMeshEdge::reset() {
    impl_->reset();
    return impl_->attached() ? MStatus(MStatus::kSuccess) : ehost::api::noMesh();
}

MStatus MItMeshEdge::reset(const MObject& polyObject) {
    return impl_->attach(polyObject);
}

MStatus MItMeshEdge::reset(const MDagPath& polyObject, MObject& component) {
    return impl_->attach(polyObject, component);
}

int MItMeshEdge::count(MStatus* ReturnStatus) {
    setStatus(ReturnStatus, impl_->attached() ? MStatus(MStatus::kSuccess) : ehost::api::noMesh());
    return impl_->count();
}

int MItMeshEdge::index(MStatus* ReturnStatus) {
    Geometry g;
    MStatus st = impl_->here(g);
    setStatus(ReturnStatus, st);
    return st ? impl_->current() : -1;
}

int MItMeshEdge::index(int whichVertex, MStatus* ReturnStatus) {
    Geometry g;
    MStatus st = impl_->here(g);
    if (st && whichVertex != 0 && whichVertex != 1) st = badEnd(whichVertex);
    setStatus(ReturnStatus, st);
    return st ? endVertex(*g, impl_->current(), whichVertex) : -1;
}

MStatus MItMeshEdge::setIndex(int index, int& prevIndex) {
    return impl_->setIndex(index, prevIndex);
}

MObject MItMeshEdge::currentItem(MStatus* ReturnStatus) {
    return impl_->currentItem(ReturnStatus);
}

// ---------------------------------------------------------------- geometry

MPoint MItMeshEdge::point(int whichVertex, MSpace::Space space, MStatus* ReturnStatus) {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    if (st && whichVertex != 0 && whichVertex != 1) st = badEnd(whichVertex);
    setStatus(ReturnStatus, st);
    if (!st) return MPoint();
    return ehost::toPoint(frame.pointOut(g->point(endVertex(*g, impl_->current(), whichVertex))));
}

MStatus MItMeshEdge::setPoint(const MPoint& point, unsigned int whichVertex, MSpace::Space space) {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    if (!st) return st;
    if (whichVertex > 1) return badEnd(static_cast<int>(whichVertex));
    const int vertex = endVertex(*g, impl_->current(), static_cast<int>(whichVertex));
    g.reset();  // an edit must not find the geometry shared with us
    return impl_->target().setPoint(vertex, frame.pointIn(ehost::toVec3(point)));
}

MPoint MItMeshEdge::center(MSpace::Space space, MStatus* ReturnStatus) {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    setStatus(ReturnStatus, st);
    if (!st) return MPoint();
    const ehost::EdgeVertices ends = g->edgeVertices(impl_->current());
    return ehost::toPoint(frame.pointOut((g->point(ends.first) + g->point(ends.second)) * 0.5));
}

MStatus MItMeshEdge::getLength(double& length, MSpace::Space space) {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    if (!st) return st;
    const ehost::EdgeVertices ends = g->edgeVertices(impl_->current());
    length =
        ehost::length(frame.pointOut(g->point(ends.second)) - frame.pointOut(g->point(ends.first)));
    return st;
}

// ---------------------------------------------------------------- adjacency

bool MItMeshEdge::onBoundary(MStatus* ReturnStatus) {
    Geometry g;
    MStatus st = impl_->here(g);
    setStatus(ReturnStatus, st);
    return st && g->isEdgeOnBoundary(impl_->current());
}

int MItMeshEdge::getConnectedEdges(MIntArray& edgeList, MStatus* ReturnStatus) {
    Geometry g;
    MStatus st = impl_->here(g);
    setStatus(ReturnStatus, st);
    if (!st) return 0;
    ehost::api::assign(edgeList, g->edgesSharingVertex(impl_->current()));
    return static_cast<int>(edgeList.length());
}

int MItMeshEdge::getConnectedFaces(MIntArray& faceList, MStatus* ReturnStatus) {
    Geometry g;
    MStatus st = impl_->here(g);
    setStatus(ReturnStatus, st);
    if (!st) return 0;
    ehost::api::assign(faceList, g->edgeFaces(impl_->current()));
    return static_cast<int>(faceList.length());
}

MStatus MItMeshEdge::numConnectedEdges(int& edgeCount) const {
    Geometry g;
    MStatus st = impl_->here(g);
    if (st) edgeCount = static_cast<int>(g->edgesSharingVertex(impl_->current()).size());
    return st;
}

MStatus MItMeshEdge::numConnectedFaces(int& faceCount) const {
    Geometry g;
    MStatus st = impl_->here(g);
    if (st) faceCount = static_cast<int>(g->edgeFaces(impl_->current()).size());
    return st;
}

bool MItMeshEdge::connectedToEdge(int index, MStatus* ReturnStatus) {
    Geometry g;
    MStatus st = impl_->here(g);
    setStatus(ReturnStatus, st);
    if (!st) return false;
    const std::vector<int> edges = g->edgesSharingVertex(impl_->current());
    return std::find(edges.begin(), edges.end(), index) != edges.end();
}

bool MItMeshEdge::connectedToFace(int index, MStatus* ReturnStatus) {
    Geometry g;
    MStatus st = impl_->here(g);
    setStatus(ReturnStatus, st);
    if (!st) return false;
    const auto faces = g->edgeFaces(impl_->current());
    return std::find(faces.begin(), faces.end(), index) != faces.end();
}

// ---------------------------------------------------------------- smoothing

bool MItMeshEdge::isSmooth(MStatus* ReturnStatus) const {
    Geometry g;
    MStatus st = impl_->here(g);
    setStatus(ReturnStatus, st);
    return st && g->isEdgeSmooth(impl_->current());
}

MStatus MItMeshEdge::setSmoothing(bool smooth) {
    {
        Geometry g;
        MStatus st = impl_->here(g);
        if (!st) return st;
    }
    const int edge = impl_->current();
    return impl_->target().edit([&](MeshGeometry& g) { return g.setEdgeSmoothing(edge, smooth); });
}

MStatus MItMeshEdge::cleanupSmoothing() {
    return updateSurface();
}

MStatus MItMeshEdge::updateSurface() {
    return impl_->attached() ? MStatus(MStatus::kSuccess) : ehost::api::noMesh();
}

MStatus MItMeshEdge::geomChanged() {
    return updateSurface();
}
