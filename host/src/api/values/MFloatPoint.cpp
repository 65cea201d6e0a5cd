#include <maya/MFloatMatrix.h>
#include <maya/MFloatPoint.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

#include <ostream>

const MFloatPoint MFloatPoint::origin(0.0F, 0.0F, 0.0F, 1.0F);

MFloatPoint::MFloatPoint(const MPoint& src)
    : x(static_cast<float>(src.x)),
      y(static_cast<float>(src.y)),
      z(static_cast<float>(src.z)),
      w(static_cast<float>(src.w)) {}

MFloatPoint::MFloatPoint(const MVector& src)
    : x(static_cast<float>(src.x)), y(static_cast<float>(src.y)), z(static_cast<float>(src.z)) {}

MStatus MFloatPoint::setCast(const MPoint& src) {
    *this = MFloatPoint(src);
    return MStatus::kSuccess;
}

MStatus MFloatPoint::setCast(const MVector& src) {
    *this = MFloatPoint(src);
    return MStatus::kSuccess;
}

// The double-precision point does the arithmetic, so that results are rounded to float once.
MFloatVector MFloatPoint::operator-(const MFloatPoint& other) const {
    return MFloatVector(MPoint(*this) - MPoint(other));
}

MFloatPoint MFloatPoint::operator*(const MFloatMatrix& right) const {
    double m[4][4];
    right.get(m);
    return MFloatPoint(MPoint(*this) * MMatrix(m));
}

MFloatPoint& MFloatPoint::operator*=(const MFloatMatrix& right) {
    return *this = *this * right;
}

MFloatPoint& MFloatPoint::cartesianize() {
    return *this = MFloatPoint(MPoint(*this).cartesianize());
}

MFloatPoint& MFloatPoint::rationalize() {
    return *this = MFloatPoint(MPoint(*this).rationalize());
}

MFloatPoint& MFloatPoint::homogenize() {
    return *this = MFloatPoint(MPoint(*this).homogenize());
}

float MFloatPoint::distanceTo(const MFloatPoint& other) const {
    return static_cast<float>(MPoint(*this).distanceTo(MPoint(other)));
}

bool MFloatPoint::isEquivalent(const MFloatPoint& other, float tolerance) const {
    return MPoint(*this).distanceTo(MPoint(other)) <= tolerance;
}

MFloatPoint operator*(const MFloatMatrix& m, const MFloatPoint& p) {
    return p * m.transpose();
}

std::ostream& operator<<(std::ostream& os, const MFloatPoint& p) {
    return os << "(" << p.x << ", " << p.y << ", " << p.z << ", " << p.w << ")";
}
