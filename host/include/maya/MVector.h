#pragma once
#include <maya/MStatus.h>
#include <maya/MTransformationMatrix.h>
#include <maya/MTypes.h>

#include <cmath>
#include <iosfwd>

class MPoint;
class MFloatPoint;
class MFloatVector;
class MMatrix;
class MQuaternion;
class MEulerRotation;

#define MVector_kTol 1.0e-10

//! A double-precision direction (x, y, z). Multiplication by a matrix treats it
//! as a row vector with w = 0, so translations do not move it.
class OPENMAYA_EXPORT MVector {
public:
    enum Axis { kXaxis, kYaxis, kZaxis, kWaxis };

    constexpr MVector() = default;
    constexpr MVector(const MVector&) = default;
    MVector(const MFloatPoint& src);
    MVector(const MFloatVector& src);
    MVector(const MPoint& src);
    constexpr MVector(double xx, double yy, double zz = 0.0) : x(xx), y(yy), z(zz) {}
    MVector(const double d[3]) : x(d[0]), y(d[1]), z(d[2]) {}
    MVector(const float d[3]) : x(d[0]), y(d[1]), z(d[2]) {}
    ~MVector() = default;

    MVector& operator=(const MVector&) = default;
    MVector& operator=(const MFloatVector& src);
    MVector& operator=(const MPoint& src);

    double operator()(unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator()(unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }
    double operator[](unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator[](unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }

    //! Cross product.
    MVector operator^(const MVector& right) const {
        return MVector(y * right.z - z * right.y, z * right.x - x * right.z,
                       x * right.y - y * right.x);
    }
    //! Dot product.
    double operator*(const MVector& right) const { return x * right.x + y * right.y + z * right.z; }

    MVector operator+(const MVector& other) const {
        return MVector(x + other.x, y + other.y, z + other.z);
    }
    MVector& operator+=(const MVector& other) {
        x += other.x;
        y += other.y;
        z += other.z;
        return *this;
    }
    MVector operator-() const { return MVector(-x, -y, -z); }
    MVector operator-(const MVector& other) const {
        return MVector(x - other.x, y - other.y, z - other.z);
    }
    MVector& operator-=(const MVector& other) {
        x -= other.x;
        y -= other.y;
        z -= other.z;
        return *this;
    }
    MVector operator*(double scale) const { return MVector(x * scale, y * scale, z * scale); }
    MVector& operator*=(double scale) {
        x *= scale;
        y *= scale;
        z *= scale;
        return *this;
    }
    MVector operator/(double scale) const { return MVector(x / scale, y / scale, z / scale); }
    MVector& operator/=(double scale) {
        x /= scale;
        y /= scale;
        z /= scale;
        return *this;
    }
    MVector operator*(const MMatrix& right) const;
    MVector& operator*=(const MMatrix& right);

    bool operator==(const MVector& other) const {
        return x == other.x && y == other.y && z == other.z;
    }
    bool operator!=(const MVector& other) const { return !(*this == other); }

    MVector rotateBy(double x, double y, double z, double w) const;
    MVector rotateBy(const double rotXYZ[3], MTransformationMatrix::RotationOrder order) const;
    MVector rotateBy(Axis axis, const double angle) const;
    MVector rotateBy(const MQuaternion& rotation) const;
    MVector rotateBy(const MEulerRotation& rotation) const;
    //! The rotation that turns this direction into target.
    MQuaternion rotateTo(const MVector& target) const;

    MStatus get(double dest[3]) const {
        dest[0] = x;
        dest[1] = y;
        dest[2] = z;
        return MStatus::kSuccess;
    }
    double length() const { return std::sqrt(x * x + y * y + z * z); }
    //! The unit vector in this direction; the zero vector stays zero.
    MVector normal() const;
    MStatus normalize();
    //! Angle to other in radians, in [0, pi]; 0 when either vector is zero.
    double angle(const MVector& other) const;
    bool isEquivalent(const MVector& other, double tolerance = MVector_kTol) const;
    //! True for both equal and opposite directions.
    bool isParallel(const MVector& other, double tolerance = MVector_kTol) const;
    //! The vector multiplied by the inverse transpose of matrix (not normalised).
    MVector transformAsNormal(const MMatrix& matrix) const;

    static const MVector zero;
    static const MVector one;
    static const MVector xAxis;
    static const MVector yAxis;
    static const MVector zAxis;
    static const MVector xNegAxis;
    static const MVector yNegAxis;
    static const MVector zNegAxis;

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

inline MVector operator*(int scale, const MVector& v) {
    return v * scale;
}
inline MVector operator*(double scale, const MVector& v) {
    return v * scale;
}
//! The matrix on the left treats the vector as a column: the result is v * transpose(m).
OPENMAYA_EXPORT MVector operator*(const MMatrix& m, const MVector& v);
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MVector& v);
