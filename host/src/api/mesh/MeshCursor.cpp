#include "host/src/api/mesh/MeshCursor.h"

#include <algorithm>

#include "host/src/api/values/ValueConvert.h"
#include "host/src/dag/Selection.h"
#include "host/src/dg/Api.h"

namespace ehost::api {

std::unique_ptr<MeshCursor> MeshCursor::open(MeshElement element, const MDagPath& path,
                                             const MObject& component, MStatus* status) {
    auto cursor = std::make_unique<MeshCursor>(element);
    setStatus(status, cursor->attach(path, component));
    return cursor;
}

std::unique_ptr<MeshCursor> MeshCursor::open(MeshElement element, const MObject& mesh,
                                             MStatus* status) {
    auto cursor = std::make_unique<MeshCursor>(element);
    setStatus(status, cursor->attach(mesh));
    return cursor;
}

MStatus MeshCursor::attach(const MDagPath& path, const MObject& component) {
    *this = MeshCursor(element_);
    MStatus st;
    auto target = MeshTarget::fromPath(path, &st);
    if (!target) return st;
    if (!component.isNull()) {
        auto c = ApiAccess::as<Component>(component);
        if (element_ == MeshElement::kFaceVertex)
            return MStatus(MStatus::kInvalidParameter,
                           "face-vertex iteration takes no component: it visits the whole mesh");
        if (!c || c->kind != componentKind())
            return MStatus(MStatus::kInvalidParameter,
                           std::string("a ") + elementName() + " iterator needs a " +
                               kindName(componentKind()) + ", not a " + component.apiTypeStr());
        const int available = elementCount(*target->geometry());
        for (int index : c->elements)
            if (index < 0 || index >= available) return outOfRange(elementName(), index, available);
        listed_ = c->elements;
        restricted_ = true;
    }
    target_ = std::move(target);
    reset();
    return MStatus::kSuccess;
}

MStatus MeshCursor::attach(const MObject& mesh) {
    *this = MeshCursor(element_);
    MStatus st;
    target_ = MeshTarget::fromObject(mesh, &st);
    reset();
    return st;
}

int MeshCursor::elementCount(const MeshGeometry& g) const {
    switch (element_) {
        case MeshElement::kVertex:
            return g.numVertices();
        case MeshElement::kEdge:
            return g.numEdges();
        case MeshElement::kFace:
            return g.numFaces();
        case MeshElement::kFaceVertex:
            return g.numFaceVertices();
    }
    return 0;
}

const char* MeshCursor::elementName() const {
    switch (element_) {
        case MeshElement::kVertex:
            return "vertex";
        case MeshElement::kEdge:
            return "edge";
        case MeshElement::kFace:
            return "face";
        case MeshElement::kFaceVertex:
            return "face-vertex";
    }
    return "element";
}

MFn::Type MeshCursor::componentKind() const {
    switch (element_) {
        case MeshElement::kVertex:
            return MFn::kMeshVertComponent;
        case MeshElement::kEdge:
            return MFn::kMeshEdgeComponent;
        case MeshElement::kFace:
            return MFn::kMeshPolygonComponent;
        case MeshElement::kFaceVertex:
            return MFn::kMeshVtxFaceComponent;
    }
    return MFn::kInvalid;
}

MStatus MeshCursor::attachedStatus() const {
    return target_ ? MStatus(MStatus::kSuccess) : noMesh();
}

int MeshCursor::count(MStatus* status) const {
    setStatus(status, attachedStatus());
    if (!target_) return 0;
    return restricted_ ? static_cast<int>(listed_.size()) : elementCount(*target_->geometry());
}

bool MeshCursor::isDone(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return !target_ || position_ >= count();
}

void MeshCursor::moveTo(int position) {
    position_ = position;
    if (!restricted_)
        current_ = position;
    else
        current_ = position < static_cast<int>(listed_.size()) ? listed_[position] : -1;
}

MStatus MeshCursor::next() {
    moveTo(position_ + 1);
    return MStatus::kSuccess;
}

MStatus MeshCursor::reset() {
    moveTo(0);
    return attachedStatus();
}

int MeshCursor::index(MStatus* status) const {
    return read(status, -1, [](const MeshGeometry&, int element) { return element; });
}

MStatus MeshCursor::setIndex(int index, int& previous) {
    if (!target_) return noMesh();
    const int available = elementCount(*target_->geometry());
    if (index < 0 || index >= available) return outOfRange(elementName(), index, available);
    previous = current_;
    if (!restricted_) {
        moveTo(index);
        return MStatus::kSuccess;
    }
    // On a listed element the iteration goes on from there; elsewhere next()
    // goes on from where it was.
    auto it = std::find(listed_.begin(), listed_.end(), index);
    if (it != listed_.end()) position_ = static_cast<int>(it - listed_.begin());
    current_ = index;
    return MStatus::kSuccess;
}

MStatus MeshCursor::here(std::shared_ptr<const MeshGeometry>& geometry) const {
    if (!target_)
        return MStatus(MStatus::kInvalidParameter, "the iterator is not attached to a mesh");
    geometry = target_->geometry();
    const int available = elementCount(*geometry);
    if (current_ < 0 || current_ >= available) {
        if (isDone())
            return MStatus(MStatus::kInvalidParameter, "the iterator is past its last element");
        return outOfRange(elementName(), current_, available);
    }
    return MStatus::kSuccess;
}

MStatus MeshCursor::here(std::shared_ptr<const MeshGeometry>& geometry, MSpace::Space space,
                         SpaceFrame& frame) const {
    MStatus st = here(geometry);
    return st ? target_->frame(space, frame) : st;
}

MStatus MeshCursor::onElement() const {
    std::shared_ptr<const MeshGeometry> g;
    return here(g);
}

MStatus MeshCursor::setPosition(const MPoint& point, MSpace::Space space) const {
    std::shared_ptr<const MeshGeometry> g;
    SpaceFrame frame;
    MStatus st = here(g, space, frame);
    if (!st) return st;
    g.reset();  // an edit must not find the geometry shared with us
    return target_->setPoint(current_, frame.pointIn(toVec3(point)));
}

MObject MeshCursor::currentItem(MStatus* status) const {
    std::shared_ptr<const MeshGeometry> g;
    MStatus st = here(g);
    setStatus(status, st);
    if (!st) return MObject();
    auto c = std::make_shared<Component>(componentKind());
    if (element_ == MeshElement::kFaceVertex)
        c->add(g->polygonConnects()[current_], g->faceVertexLocation(current_).face);
    else
        c->add(current_);
    return wrap(c);
}

MObject MeshCursor::component() const {
    if (!restricted_) return MObject();
    auto c = std::make_shared<Component>(componentKind());
    c->elements = listed_;
    return wrap(c);
}

}  // namespace ehost::api
