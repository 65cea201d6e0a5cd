#include <maya/MMatrix.h>

#include "host/src/api/values/Matrix4.h"

const MMatrix MMatrix::identity;

MMatrix::MMatrix(const double m[4][4]) {
    ehost::copy4(m, matrix);
}

MMatrix::MMatrix(const float m[4][4]) {
    ehost::copy4(m, matrix);
}

MStatus MMatrix::get(double dest[4][4]) const {
    ehost::copy4(matrix, dest);
    return MStatus::kSuccess;
}

MStatus MMatrix::get(float dest[4][4]) const {
    ehost::copy4(matrix, dest);
    return MStatus::kSuccess;
}

MMatrix MMatrix::transpose() const {
    MMatrix t;
    ehost::transpose4(matrix, t.matrix);
    return t;
}

MMatrix& MMatrix::setToIdentity() {
    return *this = identity;
}

MMatrix& MMatrix::setToProduct(const MMatrix& left, const MMatrix& right) {
    ehost::multiply4(left.matrix, right.matrix, matrix);
    return *this;
}

MMatrix& MMatrix::operator+=(const MMatrix& right) {
    ehost::add4(matrix, right.matrix);
    return *this;
}

MMatrix MMatrix::operator+(const MMatrix& right) const {
    MMatrix r(*this);
    return r += right;
}

MMatrix& MMatrix::operator-=(const MMatrix& right) {
    ehost::subtract4(matrix, right.matrix);
    return *this;
}

MMatrix MMatrix::operator-(const MMatrix& right) const {
    MMatrix r(*this);
    return r -= right;
}

MMatrix& MMatrix::operator*=(const MMatrix& right) {
    return setToProduct(*this, right);
}

MMatrix MMatrix::operator*(const MMatrix& right) const {
    MMatrix r;
    return r.setToProduct(*this, right);
}

MMatrix& MMatrix::operator*=(double scale) {
    ehost::scale4(matrix, scale);
    return *this;
}

MMatrix MMatrix::operator*(double scale) const {
    MMatrix r(*this);
    return r *= scale;
}

bool MMatrix::operator==(const MMatrix& other) const {
    return ehost::equal4(matrix, other.matrix);
}

MMatrix MMatrix::inverse() const {
    MMatrix r;
    if (!ehost::invert4(matrix, r.matrix)) return identity;
    return r;
}

MMatrix MMatrix::adjoint() const {
    MMatrix r;
    ehost::adjugate4(matrix, r.matrix);
    return r;
}

MMatrix MMatrix::homogenize() const {
    MMatrix r(*this);
    ehost::homogenize4(r.matrix);
    return r;
}

double MMatrix::det4x4() const {
    return ehost::determinant4(matrix);
}

double MMatrix::det3x3() const {
    return ehost::determinant3(matrix);
}

bool MMatrix::isEquivalent(const MMatrix& other, double tolerance) const {
    return ehost::equivalent4(matrix, other.matrix, tolerance);
}

bool MMatrix::isSingular() const {
    double unused[4][4];
    return !ehost::invert4(matrix, unused);
}

MMatrix operator*(double scale, const MMatrix& right) {
    return right * scale;
}

std::ostream& operator<<(std::ostream& os, const MMatrix& m) {
    return ehost::print4(os, m.matrix);
}
