#include <maya/MEulerRotation.h>
#include <maya/MMatrix.h>
#include <maya/MQuaternion.h>
#include <maya/MVector.h>

#include <cmath>
#include <ostream>

const MQuaternion MQuaternion::identity(0.0, 0.0, 0.0, 1.0);

namespace {

// Hamilton product p q: for column vectors q acts first. The API's product
// is the other way round so that it matches row-vector matrix products.
MQuaternion hamilton(const MQuaternion& p, const MQuaternion& q) {
    return MQuaternion(p.w * q.x + q.w * p.x + (p.y * q.z - p.z * q.y),
                       p.w * q.y + q.w * p.y + (p.z * q.x - p.x * q.z),
                       p.w * q.z + q.w * p.z + (p.x * q.y - p.y * q.x),
                       p.w * q.w - (p.x * q.x + p.y * q.y + p.z * q.z));
}

double norm(const MQuaternion& q) {
    return std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
}

// A unit vector perpendicular to v (v not zero).
MVector perpendicular(const MVector& v) {
    const MVector other = std::fabs(v.x) < 0.9 * v.length() ? MVector::xAxis : MVector::yAxis;
    return (v ^ other).normal();
}

}  // namespace

MQuaternion::MQuaternion(const MVector& a, const MVector& b) : MQuaternion(a, b, 1.0) {}

MQuaternion::MQuaternion(const MVector& a, const MVector& b, double angleFactor) {
    if (a.length() == 0.0 || b.length() == 0.0) return;
    MVector axis = a ^ b;
    const double angle = a.angle(b);
    if (axis.length() <= 1e-15 * a.length() * b.length()) {
        if (angle < 1.0) return;  // same direction: no turn
        axis = perpendicular(a);
    }
    setAxisAngle(axis, angle * angleFactor);
}

MQuaternion::MQuaternion(double angle, const MVector& axis) {
    setAxisAngle(axis, angle);
}

MQuaternion& MQuaternion::operator=(const MMatrix& matrix) {
    // Rows normalised first, so that a scaled rotation still gives its rotation.
    MMatrix r;
    for (int i = 0; i < 3; ++i) {
        const MVector row(matrix.matrix[i][0], matrix.matrix[i][1], matrix.matrix[i][2]);
        const MVector n = row.normal();
        r.matrix[i][0] = n.x;
        r.matrix[i][1] = n.y;
        r.matrix[i][2] = n.z;
    }
    const auto& m = r.matrix;
    // The row matrix is the transpose of the column rotation; pick the
    // largest of w, x, y, z as the divisor for accuracy.
    const double trace = m[0][0] + m[1][1] + m[2][2];
    if (trace > 0.0) {
        const double s = 2.0 * std::sqrt(1.0 + trace);
        w = 0.25 * s;
        x = (m[1][2] - m[2][1]) / s;
        y = (m[2][0] - m[0][2]) / s;
        z = (m[0][1] - m[1][0]) / s;
    } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
        const double s = 2.0 * std::sqrt(1.0 + m[0][0] - m[1][1] - m[2][2]);
        w = (m[1][2] - m[2][1]) / s;
        x = 0.25 * s;
        y = (m[1][0] + m[0][1]) / s;
        z = (m[2][0] + m[0][2]) / s;
    } else if (m[1][1] > m[2][2]) {
        const double s = 2.0 * std::sqrt(1.0 + m[1][1] - m[0][0] - m[2][2]);
        w = (m[2][0] - m[0][2]) / s;
        x = (m[1][0] + m[0][1]) / s;
        y = 0.25 * s;
        z = (m[2][1] + m[1][2]) / s;
    } else {
        const double s = 2.0 * std::sqrt(1.0 + m[2][2] - m[0][0] - m[1][1]);
        w = (m[0][1] - m[1][0]) / s;
        x = (m[2][0] + m[0][2]) / s;
        y = (m[2][1] + m[1][2]) / s;
        z = 0.25 * s;
    }
    return *this;
}

MQuaternion& MQuaternion::operator=(const MEulerRotation& rotation) {
    return *this = rotation.asQuaternion();
}

MMatrix MQuaternion::asMatrix() const {
    const double n2 = x * x + y * y + z * z + w * w;
    const double s = n2 > 0.0 ? 2.0 / n2 : 0.0;
    const double xx = s * x * x, yy = s * y * y, zz = s * z * z;
    const double xy = s * x * y, xz = s * x * z, yz = s * y * z;
    const double wx = s * w * x, wy = s * w * y, wz = s * w * z;
    MMatrix m;
    m.matrix[0][0] = 1.0 - (yy + zz);
    m.matrix[0][1] = xy + wz;
    m.matrix[0][2] = xz - wy;
    m.matrix[1][0] = xy - wz;
    m.matrix[1][1] = 1.0 - (xx + zz);
    m.matrix[1][2] = yz + wx;
    m.matrix[2][0] = xz + wy;
    m.matrix[2][1] = yz - wx;
    m.matrix[2][2] = 1.0 - (xx + yy);
    return m;
}

MEulerRotation MQuaternion::asEulerRotation() const {
    return MEulerRotation::decompose(asMatrix(), MEulerRotation::kXYZ);
}

MQuaternion& MQuaternion::setAxisAngle(const MVector& axis, double theta) {
    const MVector n = axis.normal();
    if (n.length() == 0.0) return *this = identity;
    const double s = std::sin(0.5 * theta);
    return *this = MQuaternion(n.x * s, n.y * s, n.z * s, std::cos(0.5 * theta));
}

bool MQuaternion::getAxisAngle(MVector& axis, double& theta) const {
    const MQuaternion q = normal();
    const double s = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z);
    if (s == 0.0) {
        axis = MVector::zAxis;
        theta = 0.0;
        return false;
    }
    axis = MVector(q.x / s, q.y / s, q.z / s);
    theta = 2.0 * std::atan2(s, q.w);
    return true;
}

MQuaternion& MQuaternion::setToXAxis(double theta) {
    return setAxisAngle(MVector::xAxis, theta);
}
MQuaternion& MQuaternion::setToYAxis(double theta) {
    return setAxisAngle(MVector::yAxis, theta);
}
MQuaternion& MQuaternion::setToZAxis(double theta) {
    return setAxisAngle(MVector::zAxis, theta);
}

MQuaternion MQuaternion::operator*(const MQuaternion& other) const {
    return hamilton(other, *this);
}

bool MQuaternion::isEquivalent(const MQuaternion& other, double tolerance) const {
    return std::fabs(x - other.x) <= tolerance && std::fabs(y - other.y) <= tolerance &&
           std::fabs(z - other.z) <= tolerance && std::fabs(w - other.w) <= tolerance;
}

MQuaternion& MQuaternion::scaleIt(double scale) {
    x *= scale;
    y *= scale;
    z *= scale;
    w *= scale;
    return *this;
}

MQuaternion MQuaternion::normal() const {
    const double n = norm(*this);
    if (n == 0.0) return *this;
    return MQuaternion(x / n, y / n, z / n, w / n);
}

MQuaternion MQuaternion::inverse() const {
    const double n2 = x * x + y * y + z * z + w * w;
    if (n2 == 0.0) return *this;
    return MQuaternion(-x / n2, -y / n2, -z / n2, w / n2);
}

MQuaternion MQuaternion::log() const {
    const double s = std::sqrt(x * x + y * y + z * z);
    const double n = norm(*this);
    if (s == 0.0) return MQuaternion(0.0, 0.0, 0.0, n > 0.0 ? std::log(n) : 0.0);
    const double f = std::atan2(s, w) / s;
    return MQuaternion(x * f, y * f, z * f, std::log(n));
}

MQuaternion MQuaternion::exp() const {
    const double s = std::sqrt(x * x + y * y + z * z);
    const double e = std::exp(w);
    const double f = s > 0.0 ? e * std::sin(s) / s : e;
    return MQuaternion(x * f, y * f, z * f, e * std::cos(s));
}

MQuaternion operator*(double scale, const MQuaternion& q) {
    return MQuaternion(q).scaleIt(scale);
}

MQuaternion slerp(const MQuaternion& p, const MQuaternion& q, double t) {
    MQuaternion to = q;
    double cosine = p.x * q.x + p.y * q.y + p.z * q.z + p.w * q.w;
    if (cosine < 0.0) {
        to.negateIt();
        cosine = -cosine;
    }
    double a = 1.0 - t, b = t;
    // Nearly equal rotations: linear blend avoids dividing by a vanishing sine.
    if (cosine < 1.0 - 1e-9) {
        const double theta = std::acos(cosine);
        const double sine = std::sin(theta);
        a = std::sin((1.0 - t) * theta) / sine;
        b = std::sin(t * theta) / sine;
    }
    return MQuaternion(a * p.x + b * to.x, a * p.y + b * to.y, a * p.z + b * to.z,
                       a * p.w + b * to.w)
        .normal();
}

std::ostream& operator<<(std::ostream& os, const MQuaternion& q) {
    return os << "(" << q.x << ", " << q.y << ", " << q.z << ", " << q.w << ")";
}
