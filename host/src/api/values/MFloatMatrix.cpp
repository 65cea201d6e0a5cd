#include <maya/MFloatMatrix.h>

#include "host/src/api/values/Matrix4.h"

#include <cmath>
#include <ostream>

const MFloatMatrix MFloatMatrix::identity;

namespace {

void widen(const MFloatMatrix& m, ehost::Matrix4& out) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) out[i][j] = m.matrix[i][j];
}

MFloatMatrix narrow(const ehost::Matrix4& m) {
    return MFloatMatrix(m);
}

}  // namespace

MFloatMatrix::MFloatMatrix(const float m[4][4]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) matrix[i][j] = m[i][j];
}

MFloatMatrix::MFloatMatrix(const double m[4][4]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) matrix[i][j] = static_cast<float>(m[i][j]);
}

MStatus MFloatMatrix::get(float dest[4][4]) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) dest[i][j] = matrix[i][j];
    return MStatus::kSuccess;
}

MStatus MFloatMatrix::get(double dest[4][4]) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) dest[i][j] = matrix[i][j];
    return MStatus::kSuccess;
}

MFloatMatrix MFloatMatrix::transpose() const {
    MFloatMatrix t;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) t.matrix[i][j] = matrix[j][i];
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
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) matrix[i][j] += right.matrix[i][j];
    return *this;
}

MFloatMatrix MFloatMatrix::operator+(const MFloatMatrix& right) const {
    MFloatMatrix r(*this);
    return r += right;
}

MFloatMatrix& MFloatMatrix::operator-=(const MFloatMatrix& right) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) matrix[i][j] -= right.matrix[i][j];
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
    for (auto& row : matrix)
        for (float& e : row) e *= scale;
    return *this;
}

MFloatMatrix MFloatMatrix::operator*(float scale) const {
    MFloatMatrix r(*this);
    return r *= scale;
}

bool MFloatMatrix::operator==(const MFloatMatrix& other) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (matrix[i][j] != other.matrix[i][j]) return false;
    return true;
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
    for (int i = 0; i < 3; ++i) {
        float* row = r.matrix[i];
        const float len = std::sqrt(row[0] * row[0] + row[1] * row[1] + row[2] * row[2]);
        if (len > 0.0F)
            for (int j = 0; j < 3; ++j) row[j] /= len;
        row[3] = 0.0F;
    }
    r.matrix[3][3] = 1.0F;
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
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (!(std::fabs(matrix[i][j] - other.matrix[i][j]) <= tolerance)) return false;
    return true;
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
    os << "[";
    for (int i = 0; i < 4; ++i) {
        os << (i ? ", [" : "[");
        for (int j = 0; j < 4; ++j) os << (j ? ", " : "") << m.matrix[i][j];
        os << "]";
    }
    return os << "]";
}
