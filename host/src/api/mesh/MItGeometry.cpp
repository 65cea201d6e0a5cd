#include <maya/MItGeometry.h>

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

//! The vertex ids the iteration visits, in order.
std::vector<int> visited(const MeshCursor& cursor, const MeshGeometry& g) {
    if (cursor.restricted()) return cursor.listed();
    std::vector<int> all(g.numVertices());
    for (int i = 0; i < g.numVertices(); ++i) all[i] = i;
    return all;
}

}  // namespace

MItGeometry::MItGeometry(const MDagPath& dagPath, MStatus* ReturnStatus)
    : impl_(std::make_unique<MeshCursor>(MeshElement::kVertex)) {
    setStatus(ReturnStatus, impl_->attach(dagPath, MObject::kNullObj));
}

MItGeometry::MItGeometry(const MDagPath& dagPath, MObject& component, MStatus* ReturnStatus)
    : impl_(std::make_unique<MeshCursor>(MeshElement::kVertex)) {
    setStatus(ReturnStatus, impl_->attach(dagPath, component));
}

MItGeometry::MItGeometry(const MObject& dagNode, MStatus* ReturnStatus)
    : impl_(std::make_unique<MeshCursor>(MeshElement::kVertex)) {
    setStatus(ReturnStatus, impl_->attach(dagNode));
}

MItGeometry::~MItGeometry() = default;

bool MItGeometry::isDone(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, MStatus::kSuccess);
    return impl_->isDone();
}

MStatus MItGeometry::next() {
    impl_->next();
    return MStatus::kSuccess;
}

MStatus MItGeometry::reset() {
    impl_->reset();
    return impl_->attached() ? MStatus(MStatus::kSuccess) : ehost::api::noMesh();
}

int MItGeometry::index(MStatus* ReturnStatus) const {
    Geometry g;
    MStatus st = impl_->here(g);
    setStatus(ReturnStatus, st);
    return st ? impl_->current() : -1;
}

int MItGeometry::count(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, impl_->attached() ? MStatus(MStatus::kSuccess) : ehost::api::noMesh());
    return impl_->count();
}

MObject MItGeometry::currentItem(MStatus* ReturnStatus) const {
    return impl_->currentItem(ReturnStatus);
}

MObject MItGeometry::component(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, impl_->attached() ? MStatus(MStatus::kSuccess) : ehost::api::noMesh());
    return impl_->component();
}

MPoint MItGeometry::position(MSpace::Space space, MStatus* ReturnStatus) const {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    setStatus(ReturnStatus, st);
    return st ? ehost::toPoint(frame.pointOut(g->point(impl_->current()))) : MPoint();
}

MStatus MItGeometry::setPosition(const MPoint& point, MSpace::Space space) {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    if (!st) return st;
    g.reset();  // an edit must not find the geometry shared with us
    return impl_->target().setPoint(impl_->current(), frame.pointIn(ehost::toVec3(point)));
}

MVector MItGeometry::normal(MSpace::Space space, MStatus* ReturnStatus) const {
    Geometry g;
    SpaceFrame frame;
    MStatus st = impl_->here(g, space, frame);
    setStatus(ReturnStatus, st);
    return st ? ehost::toVector(frame.normalOut(g->vertexNormal(impl_->current()))) : MVector();
}

MStatus MItGeometry::allPositions(MPointArray& positions, MSpace::Space space) const {
    if (!impl_->attached()) return ehost::api::noMesh();
    SpaceFrame frame;
    MStatus st = impl_->target().frame(space, frame);
    if (!st) return st;
    Geometry g = impl_->target().geometry();
    const std::vector<int> ids = visited(*impl_, *g);
    positions.setLength(static_cast<unsigned>(ids.size()));
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
