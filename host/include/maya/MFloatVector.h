#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <cmath>
#include <iosfwd>

class MVector;
class MFloatPoint;
class MFloatMatrix;

#define MFloatVector_kTol 1.0e-5F

//! Single-precision counterpart of MVector.
class OPENMAYA_EXPORT MFloatVector {
public:
    enum Axis { kXaxis, kYaxis, kZaxis, kWaxis };

    constexpr MFloatVector() = default;
    constexpr MFloatVector(const MFloatVector&) = default;
    MFloatVector(const MFloatPoint& src);
    MFloatVector(const MVector& src);
    constexpr MFloatVector(float xx, float yy, float zz = 0.0F) : x(xx), y(yy), z(zz) {}
    MFloatVector(const float d[3]) : x(d[0]), y(d[1]), z(d[2]) {}
    MFloatVector(const double d[3])
        : x(static_cast<float>(d[0])), y(static_cast<float>(d[1])), z(static_cast<float>(d[2])) {}
    ~MFloatVector() = default;

    MFloatVector& operator=(const MFloatVector&) = default;
    MStatus setCast(const MVector& src);
    MStatus setCast(const double d[3]) {
        *this = MFloatVector(d);
        return MStatus::kSuccess;
    }

    float operator()(unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    float& operator()(unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }
    float operator[](unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    float& operator[](unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }

    //! Cross product.
    MFloatVector operator^(const MFloatVector& right) const {
        return MFloatVector(y * right.z - z * right.y, z * right.x - x * right.z,
                            x * right.y - y * right.x);
    }
    //! Dot product.
    float operator*(const MFloatVector& right) const {
        return x * right.x + y * right.y + z * right.z;
    }

    MFloatVector operator+(const MFloatVector& other) const {
        return MFloatVector(x + other.x, y + other.y, z + other.z);
    }
    MFloatVector& operator+=(const MFloatVector& other) {
        x += other.x;
        y += other.y;
        z += other.z;
        return *this;
    }
    MFloatVector operator-() const { return MFloatVector(-x, -y, -z); }
    MFloatVector operator-(const MFloatVector& other) const {
        return MFloatVector(x - other.x, y - other.y, z - other.z);
    }
    MFloatVector& operator-=(const MFloatVector& other) {
        x -= other.x;
        y -= other.y;
        z -= other.z;
        return *this;
    }
    MFloatVector operator*(float scale) const {
        return MFloatVector(x * scale, y * scale, z * scale);
    }
    MFloatVector& operator*=(float scale) {
        x *= scale;
        y *= scale;
        z *= scale;
        return *this;
    }
    MFloatVector operator/(float scale) const {
        return MFloatVector(x / scale, y / scale, z / scale);
    }
    MFloatVector& operator/=(float scale) {
        x /= scale;
        y /= scale;
        z /= scale;
        return *this;
    }
    MFloatVector operator*(const MFloatMatrix& right) const;
    MFloatVector& operator*=(const MFloatMatrix& right);

    bool operator==(const MFloatVector& other) const {
        return x == other.x && y == other.y && z == other.z;
    }
    bool operator!=(const MFloatVector& other) const { return !(*this == other); }

    MStatus get(float dest[3]) const {
        dest[0] = x;
        dest[1] = y;
        dest[2] = z;
        return MStatus::kSuccess;
    }
    float length() const { return std::sqrt(x * x + y * y + z * z); }
    //! The unit vector in this direction; the zero vector stays zero.
    MFloatVector normal() const;
    MStatus normalize();
    //! Angle to other in radians, in [0, pi]; 0 when either vector is zero.
    float angle(const MFloatVector& other) const;
    bool isEquivalent(const MFloatVector& other, float tolerance = MFloatVector_kTol) const;
    //! True for both equal and opposite directions.
    bool isParallel(const MFloatVector& other, float tolerance = MFloatVector_kTol) const;
    //! The vector multiplied by the inverse transpose of matrix (not normalised).
    MFloatVector transformAsNormal(const MFloatMatrix& matrix) const;

    static const MFloatVector zero;
    static const MFloatVector one;
    static const MFloatVector xAxis;
    static const MFloatVector yAxis;
    static const MFloatVector zAxis;
    static const MFloatVector xNegAxis;
    static const MFloatVector yNegAxis;
    static const MFloatVector zNegAxis;

    float x = 0.0F;
    float y = 0.0F;
    float z = 0.0F;
};

inline MFloatVector operator*(int scale, const MFloatVector& v) {
    return v * static_cast<float>(scale);
}
inline MFloatVector operator*(double scale, const MFloatVector& v) {
    return v * static_cast<float>(scale);
}
//! The matrix on the left treats the vector as a column: the result is v * transpose(m).
OPENMAYA_EXPORT MFloatVector operator*(const MFloatMatrix& m, const MFloatVector& v);
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MFloatVector& v);
