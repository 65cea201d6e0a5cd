#include <maya/MEulerRotation.h>
#include <maya/MMatrix.h>
#include <maya/MQuaternion.h>
#include <maya/MVector.h>

#include <cmath>
#include <numbers>
#include <ostream>

const MEulerRotation MEulerRotation::identity;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// The axes (0 = x, 1 = y, 2 = z) in the order they are applied.
struct AxisOrder {
    int first, second, third;
    // Cyclic orders (xyz, yzx, zxy) and their mirrors differ in the signs of
    // the matrix terms.
    bool cyclic() const { return second == (first + 1) % 3; }
};

AxisOrder axesOf(MEulerRotation::RotationOrder order) {
    switch (order) {
        case MEulerRotation::kXYZ:
            return {0, 1, 2};
        case MEulerRotation::kYZX:
            return {1, 2, 0};
        case MEulerRotation::kZXY:
            return {2, 0, 1};
        case MEulerRotation::kXZY:
            return {0, 2, 1};
        case MEulerRotation::kYXZ:
            return {1, 0, 2};
        case MEulerRotation::kZYX:
            return {2, 1, 0};
    }
    return {0, 1, 2};
}

// Right-handed turn about one axis, for row vectors (v * M).
MMatrix axisRotation(int axis, double angle) {
    const int j = (axis + 1) % 3, k = (axis + 2) % 3;
    const double c = std::cos(angle), s = std::sin(angle);
    MMatrix m;
    m.matrix[j][j] = c;
    m.matrix[j][k] = s;
    m.matrix[k][j] = -s;
    m.matrix[k][k] = c;
    return m;
}

MQuaternion axisQuaternion(int axis, double angle) {
    MQuaternion q;
    if (axis == 0) return q.setToXAxis(angle);
    if (axis == 1) return q.setToYAxis(angle);
    return q.setToZAxis(angle);
}

// The angle shifted by whole turns into (-pi, pi].
double boundAngle(double a) {
    double r = std::remainder(a, kTwoPi);
    if (r <= -kPi) r += kTwoPi;
    return r;
}

// The angle shifted by whole turns to be as close as possible to target.
double closestTurn(double a, double target) {
    return target + boundAngle(a - target);
}

double distanceSquared(const MEulerRotation& a, const MEulerRotation& b) {
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}

}  // namespace

MEulerRotation::MEulerRotation(const MVector& v, RotationOrder ord)
    : x(v.x), y(v.y), z(v.z), order(ord) {}

MEulerRotation& MEulerRotation::operator=(const MQuaternion& q) {
    return *this = decompose(q.asMatrix(), order);
}

MEulerRotation& MEulerRotation::operator=(const MMatrix& m) {
    return *this = decompose(m, order);
}

MEulerRotation& MEulerRotation::operator=(const MVector& v) {
    x = v.x;
    y = v.y;
    z = v.z;
    return *this;
}

MEulerRotation& MEulerRotation::setValue(const MVector& v, RotationOrder ord) {
    return setValue(v.x, v.y, v.z, ord);
}

MQuaternion MEulerRotation::asQuaternion() const {
    const AxisOrder a = axesOf(order);
    return axisQuaternion(a.first, (*this)[a.first]) * axisQuaternion(a.second, (*this)[a.second]) *
           axisQuaternion(a.third, (*this)[a.third]);
}

MMatrix MEulerRotation::asMatrix() const {
    const AxisOrder a = axesOf(order);
    return axisRotation(a.first, (*this)[a.first]) * axisRotation(a.second, (*this)[a.second]) *
           axisRotation(a.third, (*this)[a.third]);
}

MVector MEulerRotation::asVector() const {
    return MVector(x, y, z);
}

MEulerRotation MEulerRotation::operator*(const MEulerRotation& other) const {
    return decompose(asMatrix() * other.asMatrix(), order);
}

MEulerRotation MEulerRotation::operator*(const MQuaternion& other) const {
    return decompose(asMatrix() * other.asMatrix(), order);
}

bool MEulerRotation::isEquivalent(const MEulerRotation& other, double tolerance) const {
    return order == other.order && std::fabs(x - other.x) <= tolerance &&
           std::fabs(y - other.y) <= tolerance && std::fabs(z - other.z) <= tolerance;
}

bool MEulerRotation::isZero(double tolerance) const {
    return std::fabs(x) <= tolerance && std::fabs(y) <= tolerance && std::fabs(z) <= tolerance;
}

MEulerRotation& MEulerRotation::incrementalRotateBy(const MVector& axis, double angle) {
    const MEulerRotation turned =
        decompose(asMatrix() * MQuaternion(angle, axis).asMatrix(), order);
    return *this = turned.closestSolution(*this);
}

MEulerRotation MEulerRotation::inverse() const {
    // Undoing the turns in reverse order with negated angles is exact.
    static const RotationOrder reversed[] = {kZYX, kXZY, kYXZ, kYZX, kZXY, kXYZ};
    return MEulerRotation(-x, -y, -z, reversed[order]);
}

MEulerRotation& MEulerRotation::invertIt() {
    return *this = inverse();
}

MEulerRotation MEulerRotation::reorder(RotationOrder ord) const {
    return decompose(asMatrix(), ord);
}

MEulerRotation& MEulerRotation::reorderIt(RotationOrder ord) {
    return *this = reorder(ord);
}

MEulerRotation MEulerRotation::bound() const {
    return MEulerRotation(boundAngle(x), boundAngle(y), boundAngle(z), order);
}

MEulerRotation& MEulerRotation::boundIt() {
    return *this = bound();
}

MEulerRotation& MEulerRotation::boundIt(const MEulerRotation& src) {
    return *this = src.bound();
}

MEulerRotation MEulerRotation::alternateSolution() const {
    // Turning the first and last axes by half a turn and mirroring the middle
    // angle about a quarter turn gives the same matrix, whatever the order.
    const AxisOrder a = axesOf(order);
    MEulerRotation r(*this);
    r[a.first] += kPi;
    r[a.second] = kPi - r[a.second];
    r[a.third] += kPi;
    return r.bound();
}

MEulerRotation& MEulerRotation::setToAlternateSolution() {
    return *this = alternateSolution();
}

MEulerRotation& MEulerRotation::setToAlternateSolution(const MEulerRotation& src) {
    return *this = src.alternateSolution();
}

MEulerRotation MEulerRotation::closestSolution(const MEulerRotation& dst) const {
    const MEulerRotation direct = closestCut(dst);
    const MEulerRotation alternate = alternateSolution().closestCut(dst);
    return distanceSquared(alternate, dst) < distanceSquared(direct, dst) ? alternate : direct;
}

MEulerRotation& MEulerRotation::setToClosestSolution(const MEulerRotation& dst) {
    return *this = closestSolution(dst);
}

MEulerRotation& MEulerRotation::setToClosestSolution(const MEulerRotation& src,
                                                     const MEulerRotation& dst) {
    return *this = src.closestSolution(dst);
}

MEulerRotation MEulerRotation::closestCut(const MEulerRotation& dst) const {
    return MEulerRotation(closestTurn(x, dst.x), closestTurn(y, dst.y), closestTurn(z, dst.z),
                          order);
}

MEulerRotation& MEulerRotation::setToClosestCut(const MEulerRotation& dst) {
    return *this = closestCut(dst);
}

MEulerRotation& MEulerRotation::setToClosestCut(const MEulerRotation& src,
                                                const MEulerRotation& dst) {
    return *this = src.closestCut(dst);
}

MEulerRotation MEulerRotation::decompose(const MMatrix& matrix, RotationOrder ord) {
    double m[3][3];
    for (int r = 0; r < 3; ++r) {
        const MVector row =
            MVector(matrix.matrix[r][0], matrix.matrix[r][1], matrix.matrix[r][2]).normal();
        m[r][0] = row.x;
        m[r][1] = row.y;
        m[r][2] = row.z;
    }
    // For M = R_i(a) R_j(b) R_k(c) with (i, j, k) cyclic, m[i][k] = -sin b,
    // m[j][k] / m[k][k] = tan a and m[i][j] / m[i][i] = tan c; a mirrored
    // order flips those signs.
    const AxisOrder ax = axesOf(ord);
    const int i = ax.first, j = ax.second, k = ax.third;
    const double sign = ax.cyclic() ? 1.0 : -1.0;
    const double cosB = std::hypot(m[i][i], m[i][j]);
    double angles[3] = {0.0, 0.0, 0.0};
    angles[j] = std::atan2(-sign * m[i][k], cosB);
    if (cosB > 1e-12) {
        angles[i] = std::atan2(sign * m[j][k], m[k][k]);
        angles[k] = std::atan2(sign * m[i][j], m[i][i]);
    } else {
        // Gimbal lock: only the sum (or difference) of the outer angles is
        // defined; the last one is taken as zero.
        angles[i] = std::atan2(-sign * m[k][j], m[j][j]);
    }
    return MEulerRotation(angles[0], angles[1], angles[2], ord);
}

std::ostream& operator<<(std::ostream& os, const MEulerRotation& r) {
    return os << "(" << r.x << ", " << r.y << ", " << r.z << ")";
}
