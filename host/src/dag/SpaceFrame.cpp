#include "host/src/dag/SpaceFrame.h"

#include <algorithm>
#include <cmath>

namespace ehost {

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

}  // namespace

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

}  // namespace ehost
