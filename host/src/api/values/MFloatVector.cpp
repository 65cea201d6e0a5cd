#include <maya/MFloatMatrix.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MVector.h>

#include <cmath>
#include <ostream>

const MFloatVector MFloatVector::zero(0.0F, 0.0F, 0.0F);
const MFloatVector MFloatVector::one(1.0F, 1.0F, 1.0F);
const MFloatVector MFloatVector::xAxis(1.0F, 0.0F, 0.0F);
const MFloatVector MFloatVector::yAxis(0.0F, 1.0F, 0.0F);
const MFloatVector MFloatVector::zAxis(0.0F, 0.0F, 1.0F);
const MFloatVector MFloatVector::xNegAxis(-1.0F, 0.0F, 0.0F);
const MFloatVector MFloatVector::yNegAxis(0.0F, -1.0F, 0.0F);
const MFloatVector MFloatVector::zNegAxis(0.0F, 0.0F, -1.0F);

namespace {

// Products and lengths go through double so that float results are rounded once.
MVector wide(const MFloatVector& v) {
    return MVector(v.x, v.y, v.z);
}

}  // namespace

MFloatVector::MFloatVector(const MFloatPoint& src) : x(src.x), y(src.y), z(src.z) {}

MFloatVector::MFloatVector(const MVector& src)
    : x(static_cast<float>(src.x)), y(static_cast<float>(src.y)), z(static_cast<float>(src.z)) {}

MStatus MFloatVector::setCast(const MVector& src) {
    *this = MFloatVector(src);
    return MStatus::kSuccess;
}

MFloatVector MFloatVector::operator*(const MFloatMatrix& right) const {
    const auto& m = right.matrix;
    return MFloatVector(
        static_cast<float>(double(x) * m[0][0] + double(y) * m[1][0] + double(z) * m[2][0]),
        static_cast<float>(double(x) * m[0][1] + double(y) * m[1][1] + double(z) * m[2][1]),
        static_cast<float>(double(x) * m[0][2] + double(y) * m[1][2] + double(z) * m[2][2]));
}

MFloatVector& MFloatVector::operator*=(const MFloatMatrix& right) {
    return *this = *this * right;
}

MFloatVector MFloatVector::normal() const {
    MFloatVector n(*this);
    n.normalize();
    return n;
}

MStatus MFloatVector::normalize() {
    const double len = wide(*this).length();
    if (len > 0.0) *this = MFloatVector(wide(*this) / len);
    return MStatus::kSuccess;
}

float MFloatVector::angle(const MFloatVector& other) const {
    return static_cast<float>(wide(*this).angle(wide(other)));
}

bool MFloatVector::isEquivalent(const MFloatVector& other, float tolerance) const {
    return wide(*this).isEquivalent(wide(other), tolerance);
}

bool MFloatVector::isParallel(const MFloatVector& other, float tolerance) const {
    return wide(*this).isParallel(wide(other), tolerance);
}

MFloatVector MFloatVector::transformAsNormal(const MFloatMatrix& matrix) const {
    return *this * matrix.inverse().transpose();
}

MFloatVector operator*(const MFloatMatrix& m, const MFloatVector& v) {
    return v * m.transpose();
}

std::ostream& operator<<(std::ostream& os, const MFloatVector& v) {
    return os << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}
