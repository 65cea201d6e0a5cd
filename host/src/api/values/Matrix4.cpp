#include "host/src/api/values/Matrix4.h"

#include <cmath>
#include <utility>

namespace ehost {

void multiply4(const Matrix4& a, const Matrix4& b, Matrix4& out) {
    double r[4][4];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j] + a[i][3] * b[3][j];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) out[i][j] = r[i][j];
}

namespace {

// The 2x2 minors of rows 0-1 (s) and rows 2-3 (c), from which every 3x3
// cofactor and the determinant follow (Laplace expansion by pairs of rows).
struct PairMinors {
    double s[6];
    double c[6];
    explicit PairMinors(const Matrix4& m) {
        s[0] = m[0][0] * m[1][1] - m[1][0] * m[0][1];
        s[1] = m[0][0] * m[1][2] - m[1][0] * m[0][2];
        s[2] = m[0][0] * m[1][3] - m[1][0] * m[0][3];
        s[3] = m[0][1] * m[1][2] - m[1][1] * m[0][2];
        s[4] = m[0][1] * m[1][3] - m[1][1] * m[0][3];
        s[5] = m[0][2] * m[1][3] - m[1][2] * m[0][3];
        c[5] = m[2][2] * m[3][3] - m[3][2] * m[2][3];
        c[4] = m[2][1] * m[3][3] - m[3][1] * m[2][3];
        c[3] = m[2][1] * m[3][2] - m[3][1] * m[2][2];
        c[2] = m[2][0] * m[3][3] - m[3][0] * m[2][3];
        c[1] = m[2][0] * m[3][2] - m[3][0] * m[2][2];
        c[0] = m[2][0] * m[3][1] - m[3][0] * m[2][1];
    }
    double determinant() const {
        return s[0] * c[5] - s[1] * c[4] + s[2] * c[3] + s[3] * c[2] - s[4] * c[1] + s[5] * c[0];
    }
};

}  // namespace

double determinant4(const Matrix4& m) {
    return PairMinors(m).determinant();
}

double determinant3(const Matrix4& m) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

void adjugate4(const Matrix4& m, Matrix4& out) {
    const PairMinors p(m);
    const double* s = p.s;
    const double* c = p.c;
    double r[4][4];
    r[0][0] = m[1][1] * c[5] - m[1][2] * c[4] + m[1][3] * c[3];
    r[0][1] = -m[0][1] * c[5] + m[0][2] * c[4] - m[0][3] * c[3];
    r[0][2] = m[3][1] * s[5] - m[3][2] * s[4] + m[3][3] * s[3];
    r[0][3] = -m[2][1] * s[5] + m[2][2] * s[4] - m[2][3] * s[3];
    r[1][0] = -m[1][0] * c[5] + m[1][2] * c[2] - m[1][3] * c[1];
    r[1][1] = m[0][0] * c[5] - m[0][2] * c[2] + m[0][3] * c[1];
    r[1][2] = -m[3][0] * s[5] + m[3][2] * s[2] - m[3][3] * s[1];
    r[1][3] = m[2][0] * s[5] - m[2][2] * s[2] + m[2][3] * s[1];
    r[2][0] = m[1][0] * c[4] - m[1][1] * c[2] + m[1][3] * c[0];
    r[2][1] = -m[0][0] * c[4] + m[0][1] * c[2] - m[0][3] * c[0];
    r[2][2] = m[3][0] * s[4] - m[3][1] * s[2] + m[3][3] * s[0];
    r[2][3] = -m[2][0] * s[4] + m[2][1] * s[2] - m[2][3] * s[0];
    r[3][0] = -m[1][0] * c[3] + m[1][1] * c[1] - m[1][2] * c[0];
    r[3][1] = m[0][0] * c[3] - m[0][1] * c[1] + m[0][2] * c[0];
    r[3][2] = -m[3][0] * s[3] + m[3][1] * s[1] - m[3][2] * s[0];
    r[3][3] = m[2][0] * s[3] - m[2][1] * s[1] + m[2][2] * s[0];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) out[i][j] = r[i][j];
}

// Gauss-Jordan elimination with partial pivoting: unlike the adjugate over
// the determinant it stays accurate for badly scaled transformation matrices.
bool invert4(const Matrix4& m, Matrix4& out) {
    double a[4][8];
    double scale = 0.0;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            a[i][j] = m[i][j];
            a[i][j + 4] = i == j ? 1.0 : 0.0;
            scale = std::fmax(scale, std::fabs(m[i][j]));
        }
    if (!(scale > 0.0) || !std::isfinite(scale)) return false;
    const double tiny = scale * 1e-15;
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
        if (std::fabs(a[pivot][col]) <= tiny) return false;
        if (pivot != col) std::swap(a[pivot], a[col]);
        const double inv = 1.0 / a[col][col];
        for (int j = 0; j < 8; ++j) a[col][j] *= inv;
        for (int r = 0; r < 4; ++r) {
            if (r == col || a[r][col] == 0.0) continue;
            const double f = a[r][col];
            for (int j = 0; j < 8; ++j) a[r][j] -= f * a[col][j];
        }
    }
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) out[i][j] = a[i][j + 4];
    return true;
}

void rowTimes4(const double v[4], const Matrix4& m, double out[4]) {
    double r[4];
    for (int j = 0; j < 4; ++j)
        r[j] = v[0] * m[0][j] + v[1] * m[1][j] + v[2] * m[2][j] + v[3] * m[3][j];
    for (int j = 0; j < 4; ++j) out[j] = r[j];
}

}  // namespace ehost
