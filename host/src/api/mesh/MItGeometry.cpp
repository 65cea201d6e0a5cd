#include <maya/MItGeometry.h>

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

//! The vertex ids the iteration visits, in order.
std::vector<int> visited(const MeshCursor& cursor, const MeshGeometry& g) {
    if (cursor.restricted()) return cursor.listed();
    std::vector<int> all(g.numVertices());
    for (int i = 0; i < g.numVertices(); ++i) all[i] = i;
    return all;
}

}  // namespace

MItGeometry::MItGeometry(const MDagPath& dagPath, MStatus* ReturnStatus)
    : impl_(MeshCursor::open(MeshElement::kVertex, dagPath, MObject::kNullObj, ReturnStatus)) {}

MItGeometry::MItGeometry(const MDagPath& dagPath, MObject& component, MStatus* ReturnStatus)
    : impl_(MeshCursor::open(MeshElement::kVertex, dagPath, component, ReturnStatus)) {}

MItGeometry::MItGeometry(const MObject& dagNode, MStatus* ReturnStatus)
    : impl_(MeshCursor::open(MeshElement::kVertex, dagNode, ReturnStatus)) {}

MItGeometry::~MItGeometry() = default;

bool MItGeometry::isDone(MStatus* ReturnStatus) const {
    return impl_->isDone(ReturnStatus);
}

MStatus MItGeometry::next() {
    return impl_->next();
}

MStatus MItGeometry::reset() {
    return impl_->reset();
}

int MItGeometry::index(MStatus* ReturnStatus) const {
    return impl_->index(ReturnStatus);
}

int MItGeometry::count(MStatus* ReturnStatus) const {
    return impl_->count(ReturnStatus);
}

MObject MItGeometry::currentItem(MStatus* ReturnStatus) const {
    return impl_->currentItem(ReturnStatus);
}

MObject MItGeometry::component(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, impl_->attachedStatus());
    return impl_->component();
}

MPoint MItGeometry::position(MSpace::Space space, MStatus* ReturnStatus) const {
    return impl_->read(space, ReturnStatus, MPoint(),
                       [](const MeshGeometry& g, const SpaceFrame& frame, int v) {
                           return ehost::toPoint(frame.pointOut(g.point(v)));
                       });
}

MStatus MItGeometry::setPosition(const MPoint& point, MSpace::Space space) {
    return impl_->setPosition(point, space);
}

MVector MItGeometry::normal(MSpace::Space space, MStatus* ReturnStatus) const {
    return impl_->read(space, ReturnStatus, MVector(),
                       [](const MeshGeometry& g, const SpaceFrame& frame, int v) {
                           return ehost::toVector(frame.normalOut(g.vertexNormal(v)));
                       });
}

MStatus MItGeometry::allPositions(MPointArray& positions, MSpace::Space space) const {
    if (!impl_->attached()) return ehost::api::noMesh();
    SpaceFrame frame;
    MStatus st = impl_->target().frame(space, frame);
    if (!st) return st;
    Geometry g = impl_->target().geometry();
    const std::vector<int> ids = visited(*impl_, *g);
    if (MStatus sized = positions.setLength(static_cast<unsigned>(ids.size())); !sized)
        return sized;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (ids[i] >= g->numVertices())
            return ehost::api::outOfRange("vertex", ids[i], g->numVertices());
        positions[static_cast<unsigned>(i)] = ehost::toPoint(frame.pointOut(g->point(ids[i])));
    }
    return st;
}

MStatus MItGeometry::setAllPositions(const MPointArray& positions, MSpace::Space space) {
    if (!impl_->attached()) return ehost::api::noMesh();
    SpaceFrame frame;
    MStatus st = impl_->target().frame(space, frame);
    if (!st) return st;
    std::vector<Vec3> points;
    {
        Geometry g = impl_->target().geometry();
        const std::vector<int> ids = visited(*impl_, *g);
        if (positions.length() != ids.size())
            return MStatus(MStatus::kInvalidParameter,
                           "the iteration has " + std::to_string(ids.size()) + " points but " +
                               std::to_string(positions.length()) + " positions were given");
        points = g->points();
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (ids[i] >= g->numVertices())
                return ehost::api::outOfRange("vertex", ids[i], g->numVertices());
            points[ids[i]] = frame.pointIn(ehost::toVec3(positions[static_cast<unsigned>(i)]));
        }
    }
    return impl_->target().setPoints(points);
}
