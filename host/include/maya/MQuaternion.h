#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <iosfwd>

class MEulerRotation;
class MMatrix;
class MVector;

#define MQuaternion_kTol 1.0e-10

//! A rotation as a quaternion (x, y, z, w), w the scalar part. Products follow
//! the matrix convention: (a * b).asMatrix() == a.asMatrix() * b.asMatrix(),
//! that is a first, then b.
class OPENMAYA_EXPORT MQuaternion {
public:
    constexpr MQuaternion() = default;
    constexpr MQuaternion(const MQuaternion&) = default;
    constexpr MQuaternion(double xx, double yy, double zz, double ww)
        : x(xx), y(yy), z(zz), w(ww) {}
    MQuaternion(const double q[4]) : x(q[0]), y(q[1]), z(q[2]), w(q[3]) {}
    //! The shortest rotation that turns direction a into direction b.
    MQuaternion(const MVector& a, const MVector& b);
    //! That rotation scaled to angleFactor of its angle.
    MQuaternion(const MVector& a, const MVector& b, double angleFactor);
    MQuaternion(double angle, const MVector& axis);
    ~MQuaternion() = default;

    MQuaternion& operator=(const MQuaternion&) = default;
    MQuaternion& operator=(const MMatrix& matrix);
    MQuaternion& operator=(const MEulerRotation& rotation);

    MMatrix asMatrix() const;
    MEulerRotation asEulerRotation() const;
    MQuaternion& setAxisAngle(const MVector& axis, double theta);
    //! False for the identity, which has no axis.
    bool getAxisAngle(MVector& axis, double& theta) const;
    MQuaternion& setToXAxis(double theta);
    MQuaternion& setToYAxis(double theta);
    MQuaternion& setToZAxis(double theta);
    MStatus get(double dest[4]) const {
        dest[0] = x;
        dest[1] = y;
        dest[2] = z;
        dest[3] = w;
        return MStatus::kSuccess;
    }

    double operator[](unsigned int i) const { return component(i); }
    double& operator[](unsigned int i) { return component(i); }

    MQuaternion operator+(const MQuaternion& other) const {
        return MQuaternion(x + other.x, y + other.y, z + other.z, w + other.w);
    }
    MQuaternion operator-(const MQuaternion& other) const {
        return MQuaternion(x - other.x, y - other.y, z - other.z, w - other.w);
    }
    MQuaternion operator-() const { return MQuaternion(-x, -y, -z, -w); }
    MQuaternion operator*(const MQuaternion& other) const;
    MQuaternion& operator*=(const MQuaternion& other) { return *this = *this * other; }
    bool operator==(const MQuaternion& other) const {
        return x == other.x && y == other.y && z == other.z && w == other.w;
    }
    bool operator!=(const MQuaternion& other) const { return !(*this == other); }
    bool isEquivalent(const MQuaternion& other, double tolerance = MQuaternion_kTol) const;

    MQuaternion& scaleIt(double scale);
    MQuaternion& negateIt() { return *this = -*this; }
    MQuaternion normal() const;
    MQuaternion& normalizeIt() { return *this = normal(); }
    MQuaternion conjugate() const { return MQuaternion(-x, -y, -z, w); }
    MQuaternion& conjugateIt() { return *this = conjugate(); }
    MQuaternion inverse() const;
    MQuaternion& invertIt() { return *this = inverse(); }
    MQuaternion log() const;
    MQuaternion exp() const;

    static const MQuaternion identity;

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double w = 1.0;

private:
    double component(unsigned int i) const { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : w)); }
    double& component(unsigned int i) { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : w)); }
};

OPENMAYA_EXPORT MQuaternion operator*(double scale, const MQuaternion& q);
//! Spherical interpolation from p (t = 0) to q (t = 1) along the shorter arc.
OPENMAYA_EXPORT MQuaternion slerp(const MQuaternion& p, const MQuaternion& q, double t);
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MQuaternion& q);
