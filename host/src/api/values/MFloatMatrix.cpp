#include <maya/MFloatMatrix.h>

#include "host/src/api/values/Matrix4.h"

const MFloatMatrix MFloatMatrix::identity;

namespace {

void widen(const MFloatMatrix& m, ehost::Matrix4& out) {
    ehost::copy4(m.matrix, out);
}

MFloatMatrix narrow(const ehost::Matrix4& m) {
    return MFloatMatrix(m);
}

}  // namespace

MFloatMatrix::MFloatMatrix(const float m[4][4]) {
    ehost::copy4(m, matrix);
}

MFloatMatrix::MFloatMatrix(const double m[4][4]) {
    ehost::copy4(m, matrix);
}

MStatus MFloatMatrix::get(float dest[4][4]) const {
    ehost::copy4(matrix, dest);
    return MStatus::kSuccess;
}

MStatus MFloatMatrix::get(double dest[4][4]) const {
    ehost::copy4(matrix, dest);
    return MStatus::kSuccess;
}

MFloatMatrix MFloatMatrix::transpose() const {
    MFloatMatrix t;
    ehost::transpose4(matrix, t.matrix);
    return t;
}

MFloatMatrix& MFloatMatrix::setToIdentity() {
    return *this = identity;
}

MFloatMatrix& MFloatMatrix::setToProduct(const MFloatMatrix& left, const MFloatMatrix& right) {
    ehost::Matrix4 a, b;
    widen(left, a);
    widen(right, b);
    ehost::multiply4(a, b, a);
    return *this = narrow(a);
}

MFloatMatrix& MFloatMatrix::operator+=(const MFloatMatrix& right) {
    ehost::add4(matrix, right.matrix);
    return *this;
}

MFloatMatrix MFloatMatrix::operator+(const MFloatMatrix& right) const {
    MFloatMatrix r(*this);
    return r += right;
}

MFloatMatrix& MFloatMatrix::operator-=(const MFloatMatrix& right) {
    ehost::subtract4(matrix, right.matrix);
    return *this;
}

MFloatMatrix MFloatMatrix::operator-(const MFloatMatrix& right) const {
    MFloatMatrix r(*this);
    return r -= right;
}

MFloatMatrix& MFloatMatrix::operator*=(const MFloatMatrix& right) {
    return setToProduct(*this, right);
}

MFloatMatrix MFloatMatrix::operator*(const MFloatMatrix& right) const {
    MFloatMatrix r;
    return r.setToProduct(*this, right);
}

MFloatMatrix& MFloatMatrix::operator*=(float scale) {
    ehost::scale4(matrix, scale);
    return *this;
}

MFloatMatrix MFloatMatrix::operator*(float scale) const {
    MFloatMatrix r(*this);
    return r *= scale;
}

bool MFloatMatrix::operator==(const MFloatMatrix& other) const {
    return ehost::equal4(matrix, other.matrix);
}

MFloatMatrix MFloatMatrix::inverse() const {
    ehost::Matrix4 m, inv;
    widen(*this, m);
    if (!ehost::invert4(m, inv)) return identity;
    return narrow(inv);
}

MFloatMatrix MFloatMatrix::adjoint() const {
    ehost::Matrix4 m;
    widen(*this, m);
    ehost::adjugate4(m, m);
    return narrow(m);
}

MFloatMatrix MFloatMatrix::homogenize() const {
    MFloatMatrix r(*this);
    ehost::homogenize4(r.matrix);
    return r;
}

float MFloatMatrix::det4x4() const {
    ehost::Matrix4 m;
    widen(*this, m);
    return static_cast<float>(ehost::determinant4(m));
}

float MFloatMatrix::det3x3() const {
    ehost::Matrix4 m;
    widen(*this, m);
    return static_cast<float>(ehost::determinant3(m));
}

bool MFloatMatrix::isEquivalent(const MFloatMatrix& other, float tolerance) const {
    return ehost::equivalent4(matrix, other.matrix, tolerance);
}

bool MFloatMatrix::isSingular() const {
    ehost::Matrix4 m, unused;
    widen(*this, m);
    return !ehost::invert4(m, unused);
}

MFloatMatrix operator*(float scale, const MFloatMatrix& right) {
    return right * scale;
}

std::ostream& operator<<(std::ostream& os, const MFloatMatrix& m) {
    return ehost::print4(os, m.matrix);
}
