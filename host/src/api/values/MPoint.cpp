#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>

#include "host/src/api/values/Matrix4.h"

#include <ostream>

const MPoint MPoint::origin(0.0, 0.0, 0.0, 1.0);

MPoint::MPoint(const MFloatPoint& src) : x(src.x), y(src.y), z(src.z), w(src.w) {}
MPoint::MPoint(const MFloatVector& src) : x(src.x), y(src.y), z(src.z) {}

MPoint& MPoint::operator=(const MFloatPoint& src) {
    return *this = MPoint(src);
}

MStatus MPoint::get(float dest[4]) const {
    dest[0] = static_cast<float>(x);
    dest[1] = static_cast<float>(y);
    dest[2] = static_cast<float>(z);
    dest[3] = static_cast<float>(w);
    return MStatus::kSuccess;
}

MVector MPoint::operator-(const MPoint& other) const {
    if (w == 1.0 && other.w == 1.0) return MVector(x - other.x, y - other.y, z - other.z);
    MPoint a(*this), b(other);
    a.cartesianize();
    b.cartesianize();
    return MVector(a.x - b.x, a.y - b.y, a.z - b.z);
}

MPoint MPoint::operator*(const MMatrix& right) const {
    const double v[4] = {x, y, z, w};
    double r[4];
    ehost::rowTimes4(v, right.matrix, r);
    return MPoint(r);
}

MPoint& MPoint::operator*=(const MMatrix& right) {
    return *this = *this * right;
}

MPoint& MPoint::cartesianize() {
    if (w != 0.0 && w != 1.0) {
        x /= w;
        y /= w;
        z /= w;
        w = 1.0;
    }
    return *this;
}

MPoint& MPoint::rationalize() {
    if (w != 0.0 && w != 1.0) {
        x /= w;
        y /= w;
        z /= w;
    }
    return *this;
}

MPoint& MPoint::homogenize() {
    x *= w;
    y *= w;
    z *= w;
    return *this;
}

double MPoint::distanceTo(const MPoint& other) const {
    return (*this - other).length();
}

bool MPoint::isEquivalent(const MPoint& other, double tolerance) const {
    return distanceTo(other) <= tolerance;
}

MPoint operator*(const MMatrix& m, const MPoint& p) {
    return p * m.transpose();
}

std::ostream& operator<<(std::ostream& os, const MPoint& p) {
    return os << "(" << p.x << ", " << p.y << ", " << p.z << ", " << p.w << ")";
}
