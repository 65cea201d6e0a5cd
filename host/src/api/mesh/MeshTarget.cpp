#include "host/src/api/mesh/MeshTarget.h"

#include <cmath>

#include "host/src/core/Object.h"
#include "host/src/dag/Dag.h"
#include "host/src/dg/Api.h"

namespace ehost::api {

namespace {

Vec3 linear(const MMatrix& m, const Vec3& v) {
    return {v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0],
            v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1],
            v.x * m[0][2] + v.y * m[1][2] + v.z * m[2][2]};
}

Vec3 affine(const MMatrix& m, const Vec3& p) {
    Vec3 r = linear(m, p) + Vec3(m[3][0], m[3][1], m[3][2]);
    const double w = p.x * m[0][3] + p.y * m[1][3] + p.z * m[2][3] + m[3][3];
    return w == 1.0 || w == 0.0 ? r : r / w;
}

//! Transforms are affine: their inverse is the 3x3 part's inverse and the
//! translation taken back through it, far cheaper than a general 4x4 inverse
//! (this runs once per world-space query).
MMatrix inverseOf(const MMatrix& m) {
    if (m[0][3] != 0 || m[1][3] != 0 || m[2][3] != 0 || m[3][3] != 1) return m.inverse();
    const double c00 = m[1][1] * m[2][2] - m[1][2] * m[2][1];
    const double c01 = m[1][2] * m[2][0] - m[1][0] * m[2][2];
    const double c02 = m[1][0] * m[2][1] - m[1][1] * m[2][0];
    const double det = m[0][0] * c00 + m[0][1] * c01 + m[0][2] * c02;
    if (det == 0 || !std::isfinite(det)) return m.inverse();
    const double d = 1 / det;
    MMatrix r;
    r[0][0] = c00 * d;
    r[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) * d;
    r[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) * d;
    r[1][0] = c01 * d;
    r[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) * d;
    r[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) * d;
    r[2][0] = c02 * d;
    r[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) * d;
    r[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) * d;
    const Vec3 t = linear(r, {m[3][0], m[3][1], m[3][2]});
    r[3][0] = -t.x;
    r[3][1] = -t.y;
    r[3][2] = -t.z;
    return r;
}

double largestDifference(const Vec3& a, const Vec3& b) {
    return std::max({std::abs(a.x - b.x), std::abs(a.y - b.y), std::abs(a.z - b.z)});
}

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

// ---------------------------------------------------------------- SpaceFrame

SpaceFrame::SpaceFrame(const MMatrix& objectToWorld)
    : world_(true), m_(objectToWorld), inv_(inverseOf(objectToWorld)) {}

Vec3 SpaceFrame::pointOut(const Vec3& p) const {
    return world_ ? affine(m_, p) : p;
}

Vec3 SpaceFrame::pointIn(const Vec3& p) const {
    if (!world_) return p;
    Vec3 x = affine(inv_, p);
    Vec3 best = x;
    double bestError = largestDifference(affine(m_, x), p);
    // Newton steps on the rounding error of the inverse: a couple are enough
    // to land on a point that maps back exactly.
    for (int step = 0; step < 4 && bestError > 0; ++step) {
        x += linear(inv_, p - affine(m_, x));
        const double error = largestDifference(affine(m_, x), p);
        if (error < bestError) {
            best = x;
            bestError = error;
        }
    }
    return best;
}

Vec3 SpaceFrame::vectorOut(const Vec3& v) const {
    return world_ ? linear(m_, v) : v;
}

Vec3 SpaceFrame::vectorIn(const Vec3& v) const {
    return world_ ? linear(inv_, v) : v;
}

Vec3 SpaceFrame::normalOut(const Vec3& n) const {
    if (!world_) return n;
    // Row vectors: n * transpose(inverse) keeps n perpendicular to transformed tangents.
    const MMatrix& a = inv_;
    return normalized({n.x * a[0][0] + n.y * a[0][1] + n.z * a[0][2],
                       n.x * a[1][0] + n.y * a[1][1] + n.z * a[1][2],
                       n.x * a[2][0] + n.y * a[2][1] + n.z * a[2][2]});
}

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
    // Without history or tweaks the output is the shape's own geometry; reading
    // it directly keeps outMesh from sharing it, so that consecutive edits do
    // not copy the whole mesh.
    if (!shape_->hasHistory() && !shape_->hasTweaks()) return shape_->base();
    return shape_->output();
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
