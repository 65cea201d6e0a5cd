#include <maya/MMatrix.h>

#include "host/src/api/values/Matrix4.h"

#include <cmath>
#include <ostream>

const MMatrix MMatrix::identity;

MMatrix::MMatrix(const double m[4][4]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) matrix[i][j] = m[i][j];
}

MMatrix::MMatrix(const float m[4][4]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) matrix[i][j] = m[i][j];
}

MStatus MMatrix::get(double dest[4][4]) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) dest[i][j] = matrix[i][j];
    return MStatus::kSuccess;
}

MStatus MMatrix::get(float dest[4][4]) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) dest[i][j] = static_cast<float>(matrix[i][j]);
    return MStatus::kSuccess;
}

MMatrix MMatrix::transpose() const {
    MMatrix t;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) t.matrix[i][j] = matrix[j][i];
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
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) matrix[i][j] += right.matrix[i][j];
    return *this;
}

MMatrix MMatrix::operator+(const MMatrix& right) const {
    MMatrix r(*this);
    return r += right;
}

MMatrix& MMatrix::operator-=(const MMatrix& right) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) matrix[i][j] -= right.matrix[i][j];
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
    for (auto& row : matrix)
        for (double& e : row) e *= scale;
    return *this;
}

MMatrix MMatrix::operator*(double scale) const {
    MMatrix r(*this);
    return r *= scale;
}

bool MMatrix::operator==(const MMatrix& other) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (matrix[i][j] != other.matrix[i][j]) return false;
    return true;
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
    for (int i = 0; i < 3; ++i) {
        double* row = r.matrix[i];
        const double len = std::sqrt(row[0] * row[0] + row[1] * row[1] + row[2] * row[2]);
        if (len > 0.0)
            for (int j = 0; j < 3; ++j) row[j] /= len;
        row[3] = 0.0;
    }
    r.matrix[3][3] = 1.0;
    return r;
}

double MMatrix::det4x4() const {
    return ehost::determinant4(matrix);
}

double MMatrix::det3x3() const {
    return ehost::determinant3(matrix);
}

bool MMatrix::isEquivalent(const MMatrix& other, double tolerance) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (!(std::fabs(matrix[i][j] - other.matrix[i][j]) <= tolerance)) return false;
    return true;
}

bool MMatrix::isSingular() const {
    double unused[4][4];
    return !ehost::invert4(matrix, unused);
}

MMatrix operator*(double scale, const MMatrix& right) {
    return right * scale;
}

std::ostream& operator<<(std::ostream& os, const MMatrix& m) {
    os << "[";
    for (int i = 0; i < 4; ++i) {
        os << (i ? ", [" : "[");
        for (int j = 0; j < 4; ++j) os << (j ? ", " : "") << m.matrix[i][j];
        os << "]";
    }
    return os << "]";
}
