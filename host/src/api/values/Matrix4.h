#pragma once
// 4x4 arithmetic shared by MMatrix, MFloatMatrix and the types that multiply
// by them. Products, determinants and inverses are done in double precision;
// the float matrix converts in and out so that its inverse is as good as the
// double one. Element-wise work (the templates below) stays in the matrix's
// own element type, so each matrix rounds as it always has.

#include <cmath>
#include <ostream>

namespace ehost {

using Matrix4 = double[4][4];

//! out = a * b; out may be a or b.
void multiply4(const Matrix4& a, const Matrix4& b, Matrix4& out);
double determinant4(const Matrix4& m);
double determinant3(const Matrix4& m);
//! The transposed cofactor matrix, so that m * adjugate = det(m) * I.
void adjugate4(const Matrix4& m, Matrix4& out);
//! False, with out untouched, when m is singular relative to its own scale.
bool invert4(const Matrix4& m, Matrix4& out);
//! Row vector (v0, v1, v2, v3) times m.
void rowTimes4(const double v[4], const Matrix4& m, double out[4]);

// ---- element-wise, for float and double matrices ----------------------------

//! Calls visit(i, j) for every element, row by row.
template <class Visit>
void forEach4(Visit&& visit) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) visit(i, j);
}

template <class From, class To>
void copy4(const From from[4][4], To to[4][4]) {
    forEach4([&](int i, int j) { to[i][j] = static_cast<To>(from[i][j]); });
}

//! out must not be m.
template <class T>
void transpose4(const T m[4][4], T out[4][4]) {
    forEach4([&](int i, int j) { out[i][j] = m[j][i]; });
}

template <class T>
void add4(T m[4][4], const T other[4][4]) {
    forEach4([&](int i, int j) { m[i][j] += other[i][j]; });
}

template <class T>
void subtract4(T m[4][4], const T other[4][4]) {
    forEach4([&](int i, int j) { m[i][j] -= other[i][j]; });
}

template <class T>
void scale4(T m[4][4], T scale) {
    forEach4([&](int i, int j) { m[i][j] *= scale; });
}

template <class T>
bool equal4(const T a[4][4], const T b[4][4]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (a[i][j] != b[i][j]) return false;
    return true;
}

//! No element differs by more than tolerance (a NaN differs by more).
template <class T>
bool equivalent4(const T a[4][4], const T b[4][4], T tolerance) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (!(std::fabs(a[i][j] - b[i][j]) <= tolerance)) return false;
    return true;
}

//! The last column set to (0, 0, 0, 1) and the rows of the upper 3x3 made unit length.
template <class T>
void homogenize4(T m[4][4]) {
    for (int i = 0; i < 3; ++i) {
        T* row = m[i];
        const T len = std::sqrt(row[0] * row[0] + row[1] * row[1] + row[2] * row[2]);
        if (len > T(0))
            for (int j = 0; j < 3; ++j) row[j] /= len;
        row[3] = T(0);
    }
    m[3][3] = T(1);
}

//! "[[a, b, c, d], [e, ...], ...]".
template <class T>
std::ostream& print4(std::ostream& os, const T m[4][4]) {
    os << "[";
    for (int i = 0; i < 4; ++i) {
        os << (i ? ", [" : "[");
        for (int j = 0; j < 4; ++j) os << (j ? ", " : "") << m[i][j];
        os << "]";
    }
    return os << "]";
}

}  // namespace ehost
