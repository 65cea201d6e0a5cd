#include <maya/MEulerRotation.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MQuaternion.h>
#include <maya/MVector.h>

#include "host/src/api/values/Matrix4.h"

#include <cmath>
#include <ostream>

const MVector MVector::zero(0.0, 0.0, 0.0);
const MVector MVector::one(1.0, 1.0, 1.0);
const MVector MVector::xAxis(1.0, 0.0, 0.0);
const MVector MVector::yAxis(0.0, 1.0, 0.0);
const MVector MVector::zAxis(0.0, 0.0, 1.0);
const MVector MVector::xNegAxis(-1.0, 0.0, 0.0);
const MVector MVector::yNegAxis(0.0, -1.0, 0.0);
const MVector MVector::zNegAxis(0.0, 0.0, -1.0);

MVector::MVector(const MFloatPoint& src) : x(src.x), y(src.y), z(src.z) {}
MVector::MVector(const MFloatVector& src) : x(src.x), y(src.y), z(src.z) {}
MVector::MVector(const MPoint& src) : x(src.x), y(src.y), z(src.z) {}

MVector& MVector::operator=(const MFloatVector& src) {
    return *this = MVector(src);
}
MVector& MVector::operator=(const MPoint& src) {
    return *this = MVector(src);
}

MVector MVector::operator*(const MMatrix& right) const {
    const double v[4] = {x, y, z, 0.0};
    double r[4];
    ehost::rowTimes4(v, right.matrix, r);
    return MVector(r[0], r[1], r[2]);
}

MVector& MVector::operator*=(const MMatrix& right) {
    return *this = *this * right;
}

MVector MVector::rotateBy(double qx, double qy, double qz, double qw) const {
    return rotateBy(MQuaternion(qx, qy, qz, qw));
}

MVector MVector::rotateBy(const double rotXYZ[3],
                          MTransformationMatrix::RotationOrder order) const {
    const bool valid =
        order > MTransformationMatrix::kInvalid && order < MTransformationMatrix::kLast;
    const auto eulerOrder =
        valid ? static_cast<MEulerRotation::RotationOrder>(order - 1) : MEulerRotation::kXYZ;
    return rotateBy(MEulerRotation(rotXYZ, eulerOrder));
}

MVector MVector::rotateBy(Axis axis, const double angle) const {
    switch (axis) {
        case kXaxis:
            return rotateBy(MQuaternion(angle, xAxis));
        case kYaxis:
            return rotateBy(MQuaternion(angle, yAxis));
        case kZaxis:
            return rotateBy(MQuaternion(angle, zAxis));
        case kWaxis:
            break;
    }
    return *this;
}

MVector MVector::rotateBy(const MQuaternion& rotation) const {
    return *this * rotation.asMatrix();
}

MVector MVector::rotateBy(const MEulerRotation& rotation) const {
    return *this * rotation.asMatrix();
}

MQuaternion MVector::rotateTo(const MVector& target) const {
    return MQuaternion(*this, target);
}

MVector MVector::normal() const {
    MVector n(*this);
    n.normalize();
    return n;
}

MStatus MVector::normalize() {
    const double len = length();
    if (len > 0.0) *this /= len;
    return MStatus::kSuccess;
}

double MVector::angle(const MVector& other) const {
    // atan2 of sine and cosine keeps full precision near 0 and pi, where acos does not.
    const double sine = (*this ^ other).length();
    const double cosine = *this * other;
    if (sine == 0.0 && cosine == 0.0) return 0.0;
    return std::atan2(sine, cosine);
}

bool MVector::isEquivalent(const MVector& other, double tolerance) const {
    return (*this - other).length() <= tolerance;
}

bool MVector::isParallel(const MVector& other, double tolerance) const {
    const double cosine = normal() * other.normal();
    return std::fabs(std::fabs(cosine) - 1.0) <= tolerance;
}

MVector MVector::transformAsNormal(const MMatrix& matrix) const {
    const MMatrix inverse = matrix.inverse();
    return MVector(x * inverse.matrix[0][0] + y * inverse.matrix[0][1] + z * inverse.matrix[0][2],
                   x * inverse.matrix[1][0] + y * inverse.matrix[1][1] + z * inverse.matrix[1][2],
                   x * inverse.matrix[2][0] + y * inverse.matrix[2][1] + z * inverse.matrix[2][2]);
}

MVector operator*(const MMatrix& m, const MVector& v) {
    return v * m.transpose();
}

std::ostream& operator<<(std::ostream& os, const MVector& v) {
    return os << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}
