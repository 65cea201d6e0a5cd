#include <maya/MEulerRotation.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MQuaternion.h>
#include <maya/MTransformationMatrix.h>
#include <maya/MVector.h>

#include <cmath>

const MTransformationMatrix MTransformationMatrix::identity;

namespace {

using TM = MTransformationMatrix;

MEulerRotation::RotationOrder eulerOrder(TM::RotationOrder order) {
    if (order <= TM::kInvalid || order >= TM::kLast) return MEulerRotation::kXYZ;
    return static_cast<MEulerRotation::RotationOrder>(order - 1);
}

TM::RotationOrder transformOrder(MEulerRotation::RotationOrder order) {
    return static_cast<TM::RotationOrder>(order + 1);
}

bool validOrder(TM::RotationOrder order) {
    return order > TM::kInvalid && order < TM::kLast;
}

MStatus badOrder() {
    return MStatus(MStatus::kInvalidParameter, "rotation order is not one of kXYZ ... kZYX");
}

MMatrix translation(const double t[3], double sign = 1.0) {
    MMatrix m;
    for (int i = 0; i < 3; ++i) m.matrix[3][i] = sign * t[i];
    return m;
}

MMatrix scaling(const double s[3]) {
    MMatrix m;
    for (int i = 0; i < 3; ++i) m.matrix[i][i] = s[i];
    return m;
}

// Shear xy, xz, yz below the diagonal: y picks up x, z picks up x and y.
MMatrix shearing(const double sh[3]) {
    MMatrix m;
    m.matrix[1][0] = sh[0];
    m.matrix[2][0] = sh[1];
    m.matrix[2][1] = sh[2];
    return m;
}

void copy3(const double from[3], double to[3]) {
    for (int i = 0; i < 3; ++i) to[i] = from[i];
}

MVector vec(const double v[3]) {
    return MVector(v[0], v[1], v[2]);
}

void store(const MVector& v, double to[3]) {
    to[0] = v.x;
    to[1] = v.y;
    to[2] = v.z;
}

MVector row(const MMatrix& m, int r) {
    return MVector(m.matrix[r][0], m.matrix[r][1], m.matrix[r][2]);
}

// A unit vector perpendicular to the unit vector v.
MVector perpendicular(const MVector& v) {
    return (v ^ (std::fabs(v.x) < 0.9 ? MVector::xAxis : MVector::yAxis)).normal();
}

// A collapsed row leaves its axis free; it is chosen so that the other rows
// still fit the lower-triangular scale and shear.
MVector firstAxisFor(const MVector& a1, const MVector& a2) {
    const MVector n = a1 ^ a2;
    if (n.length() > 0.0) return n.normal();
    if (a1.length() > 0.0) return perpendicular(a1.normal());
    if (a2.length() > 0.0) return perpendicular(a2.normal());
    return MVector::xAxis;
}

MVector secondAxisFor(const MVector& r0, const MVector& a2) {
    const MVector rest2 = a2 - (a2 * r0) * r0;
    if (rest2.length() > 0.0) return rest2.normal() ^ r0;
    return perpendicular(r0);
}

template <class T>
T* succeed(T* self, MStatus* status) {
    if (status) *status = MStatus::kSuccess;
    return self;
}

}  // namespace

MTransformationMatrix::MTransformationMatrix(const MMatrix& matrix) {
    *this = matrix;
}

// The upper 3x3 A = S * Sh * R is lower-triangular times orthonormal, so the
// rows of R follow by Gram-Schmidt from the first row down; a negative
// determinant goes into the z scale so that R stays a proper rotation.
MTransformationMatrix& MTransformationMatrix::operator=(const MMatrix& matrix) {
    const RotationOrder order = order_;
    *this = MTransformationMatrix();
    order_ = order;
    for (int i = 0; i < 3; ++i) translate_[i] = matrix.matrix[3][i];

    const MVector a0 = row(matrix, 0), a1 = row(matrix, 1), a2 = row(matrix, 2);
    const double sx = a0.length();
    const MVector r0 = sx > 0.0 ? a0 / sx : firstAxisFor(a1, a2);
    const MVector rest1 = a1 - (a1 * r0) * r0;
    const double sy = rest1.length();
    const MVector r1 = sy > 0.0 ? rest1 / sy : secondAxisFor(r0, a2);
    const MVector r2 = r0 ^ r1;
    const double sz = a2 * r2;

    scale_[0] = sx;
    scale_[1] = sy;
    scale_[2] = sz;
    shear_[0] = sy != 0.0 ? (a1 * r0) / sy : 0.0;
    shear_[1] = sz != 0.0 ? (a2 * r0) / sz : 0.0;
    shear_[2] = sz != 0.0 ? (a2 * r1) / sz : 0.0;

    MMatrix rotation;
    store(r0, rotation.matrix[0]);
    store(r1, rotation.matrix[1]);
    store(r2, rotation.matrix[2]);
    const MEulerRotation euler = MEulerRotation::decompose(rotation, eulerOrder(order_));
    rotate_[0] = euler.x;
    rotate_[1] = euler.y;
    rotate_[2] = euler.z;
    return *this;
}

MMatrix MTransformationMatrix::asMatrix() const {
    return asScaleMatrix() * asRotateMatrix() * translation(translate_);
}

MMatrix MTransformationMatrix::asMatrix(double percent) const {
    MTransformationMatrix part(*this);
    for (int i = 0; i < 3; ++i) {
        part.translate_[i] *= percent;
        part.rotate_[i] *= percent;
        part.scale_[i] = 1.0 + (scale_[i] - 1.0) * percent;
        part.shear_[i] *= percent;
        part.scalePivotTranslate_[i] *= percent;
        part.rotatePivotTranslate_[i] *= percent;
    }
    const MQuaternion orientation = slerp(MQuaternion::identity, rotationOrientation(), percent);
    orientation.get(part.orientation_);
    return part.asMatrix();
}

MMatrix MTransformationMatrix::asMatrixInverse() const {
    return asMatrix().inverse();
}

MMatrix MTransformationMatrix::asScaleMatrix() const {
    return translation(scalePivot_, -1.0) * scaling(scale_) * shearing(shear_) *
           translation(scalePivot_) * translation(scalePivotTranslate_);
}

MMatrix MTransformationMatrix::asRotateMatrix() const {
    return translation(rotatePivot_, -1.0) * rotationOrientation().asMatrix() *
           eulerRotation().asMatrix() * translation(rotatePivot_) *
           translation(rotatePivotTranslate_);
}

MStatus MTransformationMatrix::getScale(double scale[3], MSpace::Space) const {
    copy3(scale_, scale);
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::setScale(const double scale[3], MSpace::Space) {
    copy3(scale, scale_);
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::addScale(const double scale[3], MSpace::Space) {
    for (int i = 0; i < 3; ++i) scale_[i] *= scale[i];
    return MStatus::kSuccess;
}

MQuaternion MTransformationMatrix::rotation() const {
    return eulerRotation().asQuaternion();
}

MEulerRotation MTransformationMatrix::eulerRotation() const {
    return MEulerRotation(rotate_[0], rotate_[1], rotate_[2], eulerOrder(order_));
}

MTransformationMatrix& MTransformationMatrix::rotateTo(const MQuaternion& q, MSpace::Space) {
    const MEulerRotation euler = MEulerRotation::decompose(q.asMatrix(), eulerOrder(order_));
    rotate_[0] = euler.x;
    rotate_[1] = euler.y;
    rotate_[2] = euler.z;
    return *this;
}

MTransformationMatrix& MTransformationMatrix::rotateTo(const MEulerRotation& rotation,
                                                       MSpace::Space) {
    rotate_[0] = rotation.x;
    rotate_[1] = rotation.y;
    rotate_[2] = rotation.z;
    order_ = transformOrder(rotation.order);
    return *this;
}

MTransformationMatrix& MTransformationMatrix::rotateBy(const MQuaternion& q, MSpace::Space space,
                                                       MStatus* ReturnStatus) {
    const MEulerRotation current = eulerRotation();
    const bool after = space == MSpace::kWorld || space == MSpace::kPostTransform;
    const MMatrix turned =
        after ? current.asMatrix() * q.asMatrix() : q.asMatrix() * current.asMatrix();
    // The nearest equivalent angles keep animation curves and sliders continuous.
    const MEulerRotation euler =
        MEulerRotation::decompose(turned, current.order).closestSolution(current);
    rotate_[0] = euler.x;
    rotate_[1] = euler.y;
    rotate_[2] = euler.z;
    return *succeed(this, ReturnStatus);
}

MTransformationMatrix& MTransformationMatrix::rotateBy(const MEulerRotation& rotation,
                                                       MSpace::Space space, MStatus* ReturnStatus) {
    return rotateBy(rotation.asQuaternion(), space, ReturnStatus);
}

MStatus MTransformationMatrix::getRotationQuaternion(double& x, double& y, double& z, double& w,
                                                     MSpace::Space) const {
    const MQuaternion q = rotation();
    x = q.x;
    y = q.y;
    z = q.z;
    w = q.w;
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::setRotationQuaternion(double x, double y, double z, double w,
                                                     MSpace::Space space) {
    rotateTo(MQuaternion(x, y, z, w), space);
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::addRotationQuaternion(double x, double y, double z, double w,
                                                     MSpace::Space space) {
    MStatus status;
    rotateBy(MQuaternion(x, y, z, w), space, &status);
    return status;
}

MStatus MTransformationMatrix::getRotation(double rotation[3], RotationOrder& order,
                                           MSpace::Space) const {
    copy3(rotate_, rotation);
    order = order_;
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::setRotation(const double rotation[3], RotationOrder order,
                                           MSpace::Space) {
    if (!validOrder(order)) return badOrder();
    copy3(rotation, rotate_);
    order_ = order;
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::addRotation(const double rotation[3], RotationOrder order,
                                           MSpace::Space space) {
    if (!validOrder(order)) return badOrder();
    MStatus status;
    rotateBy(MEulerRotation(rotation, eulerOrder(order)), space, &status);
    return status;
}

MTransformationMatrix::RotationOrder MTransformationMatrix::rotationOrder(
    MStatus* ReturnStatus) const {
    succeed(this, ReturnStatus);
    return order_;
}

MStatus MTransformationMatrix::setRotationOrder(RotationOrder order, bool preserve) {
    if (!validOrder(order)) return badOrder();
    if (preserve) {
        const MEulerRotation euler = eulerRotation().reorder(eulerOrder(order));
        rotate_[0] = euler.x;
        rotate_[1] = euler.y;
        rotate_[2] = euler.z;
    }
    order_ = order;
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::reorderRotation(const RotationOrder& order) {
    return setRotationOrder(order, true);
}

MQuaternion MTransformationMatrix::rotationOrientation() const {
    return MQuaternion(orientation_);
}

MTransformationMatrix& MTransformationMatrix::setRotationOrientation(const MQuaternion& q) {
    q.get(orientation_);
    return *this;
}

MVector MTransformationMatrix::getTranslation(MSpace::Space, MStatus* ReturnStatus) const {
    succeed(this, ReturnStatus);
    return vec(translate_);
}

MStatus MTransformationMatrix::setTranslation(const MVector& vector, MSpace::Space) {
    store(vector, translate_);
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::addTranslation(const MVector& vector, MSpace::Space) {
    store(vec(translate_) + vector, translate_);
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::setShear(const double shear[3], MSpace::Space) {
    copy3(shear, shear_);
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::getShear(double shear[3], MSpace::Space) const {
    copy3(shear_, shear);
    return MStatus::kSuccess;
}

MStatus MTransformationMatrix::addShear(const double shear[3], MSpace::Space) {
    for (int i = 0; i < 3; ++i) shear_[i] += shear[i];
    return MStatus::kSuccess;
}

MPoint MTransformationMatrix::scalePivot(MSpace::Space, MStatus* ReturnStatus) const {
    succeed(this, ReturnStatus);
    return MPoint(vec(scalePivot_));
}

// The scale stage moves the origin by Sp - Sp*L + St (L = S * Sh); keeping
// that fixed while Sp moves by d takes St += d*L - d.
MStatus MTransformationMatrix::setScalePivot(const MPoint& point, MSpace::Space, bool balance) {
    const MVector moved = MVector(point) - vec(scalePivot_);
    if (balance) {
        const MVector compensation = moved * (scaling(scale_) * shearing(shear_)) - moved;
        store(vec(scalePivotTranslate_) + compensation, scalePivotTranslate_);
    }
    store(MVector(point), scalePivot_);
    return MStatus::kSuccess;
}

MVector MTransformationMatrix::scalePivotTranslation(MSpace::Space, MStatus* ReturnStatus) const {
    succeed(this, ReturnStatus);
    return vec(scalePivotTranslate_);
}

MStatus MTransformationMatrix::setScalePivotTranslation(const MVector& vector, MSpace::Space) {
    store(vector, scalePivotTranslate_);
    return MStatus::kSuccess;
}

MPoint MTransformationMatrix::rotatePivot(MSpace::Space, MStatus* ReturnStatus) const {
    succeed(this, ReturnStatus);
    return MPoint(vec(rotatePivot_));
}

// As for the scale pivot, with the rotation Ra * R in place of L.
MStatus MTransformationMatrix::setRotatePivot(const MPoint& point, MSpace::Space, bool balance) {
    const MVector moved = MVector(point) - vec(rotatePivot_);
    if (balance) {
        const MMatrix turn = rotationOrientation().asMatrix() * eulerRotation().asMatrix();
        store(vec(rotatePivotTranslate_) + moved * turn - moved, rotatePivotTranslate_);
    }
    store(MVector(point), rotatePivot_);
    return MStatus::kSuccess;
}

MVector MTransformationMatrix::rotatePivotTranslation(MSpace::Space, MStatus* ReturnStatus) const {
    succeed(this, ReturnStatus);
    return vec(rotatePivotTranslate_);
}

MStatus MTransformationMatrix::setRotatePivotTranslation(const MVector& vector, MSpace::Space) {
    store(vector, rotatePivotTranslate_);
    return MStatus::kSuccess;
}

bool MTransformationMatrix::isEquivalent(const MTransformationMatrix& other,
                                         double tolerance) const {
    return asMatrix().isEquivalent(other.asMatrix(), tolerance);
}

bool MTransformationMatrix::operator==(const MTransformationMatrix& other) const {
    return asMatrix() == other.asMatrix();
}
