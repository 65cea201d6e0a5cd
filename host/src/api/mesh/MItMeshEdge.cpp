#include <maya/MItMeshEdge.h>

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
    : impl_(MeshCursor::open(MeshElement::kEdge, polyObject, ReturnStatus)) {}

MItMeshEdge::MItMeshEdge(const MDagPath& polyObject, MObject& component, MStatus* ReturnStatus)
    : impl_(MeshCursor::open(MeshElement::kEdge, polyObject, component, ReturnStatus)) {}

MItMeshEdge::~MItMeshEdge() = default;

bool MItMeshEdge::isDone(MStatus* ReturnStatus) {
    return impl_->isDone(ReturnStatus);
}

MStatus MItMeshEdge::next() {
    return impl_->next();
}

MStatus MItMeshEdge::reset() {
    return impl_->reset();
}

MStatus MItMeshEdge::reset(const MObject& polyObject) {
    return impl_->attach(polyObject);
}

MStatus MItMeshEdge::reset(const MDagPath& polyObject, MObject& component) {
    return impl_->attach(polyObject, component);
}

int MItMeshEdge::count(MStatus* ReturnStatus) {
    return impl_->count(ReturnStatus);
}

int MItMeshEdge::index(MStatus* ReturnStatus) {
    return impl_->index(ReturnStatus);
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
    return impl_->read(space, ReturnStatus, MPoint(),
                       [](const MeshGeometry& g, const SpaceFrame& frame, int edge) {
                           const ehost::EdgeVertices ends = g.edgeVertices(edge);
                           return ehost::toPoint(
                               frame.pointOut((g.point(ends.first) + g.point(ends.second)) * 0.5));
                       });
}

MStatus MItMeshEdge::getLength(double& length, MSpace::Space space) {
    return impl_->visit(space, [&](const MeshGeometry& g, const SpaceFrame& frame, int edge) {
        const ehost::EdgeVertices ends = g.edgeVertices(edge);
        length = ehost::length(frame.pointOut(g.point(ends.second)) -
                               frame.pointOut(g.point(ends.first)));
    });
}

// ---------------------------------------------------------------- adjacency

bool MItMeshEdge::onBoundary(MStatus* ReturnStatus) {
    return impl_->read(ReturnStatus, false,
                       [](const MeshGeometry& g, int edge) { return g.isEdgeOnBoundary(edge); });
}

int MItMeshEdge::getConnectedEdges(MIntArray& edgeList, MStatus* ReturnStatus) {
    return impl_->read(ReturnStatus, 0, [&](const MeshGeometry& g, int edge) {
        ehost::api::assign(edgeList, g.edgesSharingVertex(edge));
        return static_cast<int>(edgeList.length());
    });
}

int MItMeshEdge::getConnectedFaces(MIntArray& faceList, MStatus* ReturnStatus) {
    return impl_->read(ReturnStatus, 0, [&](const MeshGeometry& g, int edge) {
        ehost::api::assign(faceList, g.edgeFaces(edge));
        return static_cast<int>(faceList.length());
    });
}

MStatus MItMeshEdge::numConnectedEdges(int& edgeCount) const {
    return impl_->visit([&](const MeshGeometry& g, int edge) {
        edgeCount = static_cast<int>(g.edgesSharingVertex(edge).size());
    });
}

MStatus MItMeshEdge::numConnectedFaces(int& faceCount) const {
    return impl_->visit([&](const MeshGeometry& g, int edge) {
        faceCount = static_cast<int>(g.edgeFaces(edge).size());
    });
}

bool MItMeshEdge::connectedToEdge(int index, MStatus* ReturnStatus) {
    return impl_->read(ReturnStatus, false, [&](const MeshGeometry& g, int edge) {
        return ehost::api::contains(g.edgesSharingVertex(edge), index);
    });
}

bool MItMeshEdge::connectedToFace(int index, MStatus* ReturnStatus) {
    return impl_->read(ReturnStatus, false, [&](const MeshGeometry& g, int edge) {
        return ehost::api::contains(g.edgeFaces(edge), index);
    });
}

// ---------------------------------------------------------------- smoothing

bool MItMeshEdge::isSmooth(MStatus* ReturnStatus) const {
    return impl_->read(ReturnStatus, false,
                       [](const MeshGeometry& g, int edge) { return g.isEdgeSmooth(edge); });
}

MStatus MItMeshEdge::setSmoothing(bool smooth) {
    MStatus st = impl_->onElement();
    if (!st) return st;
    const int edge = impl_->current();
    return impl_->target().edit([&](MeshGeometry& g) { return g.setEdgeSmoothing(edge, smooth); });
}

MStatus MItMeshEdge::cleanupSmoothing() {
    return updateSurface();
}

MStatus MItMeshEdge::updateSurface() {
    return impl_->attachedStatus();
}

MStatus MItMeshEdge::geomChanged() {
    return updateSurface();
}
