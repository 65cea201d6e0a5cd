#include "host/src/api/mesh/MeshTarget.h"

#include "host/src/core/Object.h"
#include "host/src/dag/Dag.h"
#include "host/src/dg/Api.h"

namespace ehost::api {

namespace {

//! The one non-intermediate mesh shape at or below the end of a path.
std::shared_ptr<MeshShape> meshAtPath(const MDagPath& path, MStatus& st) {
    if (!path.isValid()) {
        st = MStatus(MStatus::kInvalidParameter, "the DAG path is empty or no longer valid");
        return nullptr;
    }
    MDagPath shapePath = path;
    st = shapePath.extendToShape();
    if (!st) return nullptr;
    auto shape = ApiAccess::as<MeshShape>(shapePath.node());
    if (!shape)
        st = MStatus(MStatus::kInvalidParameter, shapePath.fullPathName().str() + " is not a mesh");
    return shape;
}

}  // namespace

// ---------------------------------------------------------------- MeshTarget

std::shared_ptr<const MeshTarget> MeshTarget::fromPath(const MDagPath& path, MStatus* status) {
    MStatus st;
    auto shape = meshAtPath(path, st);
    setStatus(status, st);
    if (!shape) return nullptr;
    auto t = std::make_shared<MeshTarget>();
    t->shape_ = std::move(shape);
    t->hasPath_ = true;
    return t;
}

std::shared_ptr<const MeshTarget> MeshTarget::fromObject(const MObject& object, MStatus* status) {
    auto t = std::make_shared<MeshTarget>();
    if (object.isNull()) {
        setStatus(status, MStatus(MStatus::kInvalidParameter, "the object is null, not a mesh"));
        return nullptr;
    }
    t->shape_ = ApiAccess::as<MeshShape>(object);
    if (!t->shape_) t->data_ = ApiAccess::as<MeshData>(object);
    if (!t->shape_ && !t->data_) {
        setStatus(status, MStatus(MStatus::kInvalidParameter,
                                  std::string("an object of kind ") + object.apiTypeStr() +
                                      " is neither a mesh shape nor mesh data"));
        return nullptr;
    }
    setStatus(status, MStatus::kSuccess);
    return t;
}

MObject MeshTarget::object() const {
    return shape_ ? wrap(shape_) : wrap(data_);
}

std::string MeshTarget::describe() const {
    return shape_ ? "mesh " + shape_->name : std::string("mesh data");
}

std::shared_ptr<const MeshGeometry> MeshTarget::geometry() const {
    if (data_) return data_->shared();
    // A change anywhere upstream, or of the shape itself, moves its stamp.
    if (auto read = read_.lock(); read && readAt_ == shape_->changeStamp) return read;
    // Without history or tweaks the output is the shape's own geometry; reading
    // it directly keeps outMesh from sharing it, so that consecutive edits do
    // not copy the whole mesh.
    std::shared_ptr<const MeshGeometry> g =
        !shape_->hasHistory() && !shape_->hasTweaks() ? shape_->base() : shape_->output();
    read_ = g;
    readAt_ = shape_->changeStamp;
    return g;
}

MStatus MeshTarget::frame(MSpace::Space space, SpaceFrame& out) const {
    if (space == MSpace::kInvalid || space == MSpace::kLast)
        return MStatus(MStatus::kInvalidParameter, "invalid coordinate space");
    if (space != MSpace::kWorld) {
        out = SpaceFrame();
        return MStatus::kSuccess;
    }
    if (!hasPath_)
        return MStatus(
            MStatus::kInvalidParameter,
            describe() + " was given without a DAG path: only object space is available");
    out = SpaceFrame(shape_->worldMatrix());
    return MStatus::kSuccess;
}

MStatus MeshTarget::setPoints(const std::vector<Vec3>& points) const {
    const int expected = geometry()->numVertices();
    if (static_cast<int>(points.size()) != expected)
        return MStatus(MStatus::kInvalidParameter,
                       describe() + " has " + std::to_string(expected) + " vertices, but " +
                           std::to_string(points.size()) + " positions were given");
    if (shape_) return shape_->setOutputPoints(points);
    MeshStatus ms = data_->edit().setPoints(points);
    return ms ? MStatus(MStatus::kSuccess)
              : MStatus(MStatus::kInvalidParameter, describe() + ": " + ms.error);
}

MStatus MeshTarget::setPoint(int vertex, const Vec3& point) const {
    const int count = geometry()->numVertices();
    if (vertex < 0 || vertex >= count) return outOfRange("vertex", vertex, count);
    // Without history this is an edit of the own geometry. Going through
    // setOutputPoint would evaluate outMesh first, which then shares the
    // geometry and makes every single-vertex move copy the whole mesh.
    if (shape_ && shape_->hasHistory()) return shape_->setOutputPoint(vertex, point);
    return edit([&](MeshGeometry& g) { return g.setPoint(vertex, point); });
}

MeshGeometry* MeshTarget::beginEdit(MStatus& status, bool& bakedTweaks) const {
    status = MStatus::kSuccess;
    if (data_) return &data_->edit();
    bakedTweaks = shape_->hasTweaks();
    return shape_->editOwnGeometry(&status);
}

void MeshTarget::endEdit(bool changed, bool bakedTweaks) const {
    // Baking tweaks into the own geometry changed its value (not what it
    // shows), so the graph hears of it even when the edit itself was refused.
    if (shape_ && (changed || bakedTweaks)) shape_->ownGeometryEdited();
}

MStatus outOfRange(const char* what, int index, int count) {
    const std::string valid = count > 0 ? "valid ids are 0 to " + std::to_string(count - 1)
                                        : std::string("the mesh has none");
    return MStatus(MStatus::kInvalidParameter, std::string(what) + " " + std::to_string(index) +
                                                   " does not exist (" + valid + ")");
}

}  // namespace ehost::api
