#pragma once
#include <maya/MFloatVector.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <iosfwd>

class MPoint;
class MVector;
class MFloatMatrix;

#define MFloatPoint_kTol 1.0e-5F

//! Single-precision counterpart of MPoint.
class OPENMAYA_EXPORT MFloatPoint {
public:
    constexpr MFloatPoint() = default;
    constexpr MFloatPoint(const MFloatPoint&) = default;
    constexpr MFloatPoint(const MFloatVector& src) : x(src.x), y(src.y), z(src.z) {}
    MFloatPoint(const MPoint& src);
    MFloatPoint(const MVector& src);
    constexpr MFloatPoint(float xx, float yy, float zz = 0.0F, float ww = 1.0F)
        : x(xx), y(yy), z(zz), w(ww) {}
    MFloatPoint(const float d[4]) : x(d[0]), y(d[1]), z(d[2]), w(d[3]) {}
    MFloatPoint(const double d[4])
        : x(static_cast<float>(d[0])),
          y(static_cast<float>(d[1])),
          z(static_cast<float>(d[2])),
          w(static_cast<float>(d[3])) {}
    ~MFloatPoint() = default;

    MFloatPoint& operator=(const MFloatPoint&) = default;
    MStatus setCast(const MPoint& src);
    MStatus setCast(const MVector& src);
    MStatus setCast(const double d[4]) {
        *this = MFloatPoint(d);
        return MStatus::kSuccess;
    }

    MStatus get(float dest[4]) const {
        dest[0] = x;
        dest[1] = y;
        dest[2] = z;
        dest[3] = w;
        return MStatus::kSuccess;
    }
    MStatus get(double dest[4]) const {
        dest[0] = x;
        dest[1] = y;
        dest[2] = z;
        dest[3] = w;
        return MStatus::kSuccess;
    }

    float operator()(unsigned int i) const { return component(i); }
    float& operator()(unsigned int i) { return component(i); }
    float operator[](unsigned int i) const { return component(i); }
    float& operator[](unsigned int i) { return component(i); }

    //! The vector from other to this point (both taken as cartesian points).
    MFloatVector operator-(const MFloatPoint& other) const;
    //! The vector moves x, y and z; w stays as it was.
    MFloatPoint operator+(const MFloatVector& v) const {
        return MFloatPoint(x + v.x, y + v.y, z + v.z, w);
    }
    MFloatPoint operator-(const MFloatVector& v) const {
        return MFloatPoint(x - v.x, y - v.y, z - v.z, w);
    }
    MFloatPoint& operator+=(const MFloatVector& v) {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    MFloatPoint& operator-=(const MFloatVector& v) {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    //! Scales x, y and z; w stays as it was.
    MFloatPoint operator*(float scale) const {
        return MFloatPoint(x * scale, y * scale, z * scale, w);
    }
    MFloatPoint operator/(float scale) const {
        return MFloatPoint(x / scale, y / scale, z / scale, w);
    }
    //! Row-vector product of all four components; the result is not cartesianized.
    MFloatPoint operator*(const MFloatMatrix& right) const;
    MFloatPoint& operator*=(const MFloatMatrix& right);

    bool operator==(const MFloatPoint& other) const {
        return x == other.x && y == other.y && z == other.z && w == other.w;
    }
    bool operator!=(const MFloatPoint& other) const { return !(*this == other); }

    //! (x/w, y/w, z/w, 1). A point at infinity (w = 0) is left as it is.
    MFloatPoint& cartesianize();
    //! (x/w, y/w, z/w, w). A point at infinity (w = 0) is left as it is.
    MFloatPoint& rationalize();
    //! (x*w, y*w, z*w, w).
    MFloatPoint& homogenize();
    //! Distance between the cartesian positions.
    float distanceTo(const MFloatPoint& other) const;
    //! True when the cartesian positions are no further apart than tolerance.
    bool isEquivalent(const MFloatPoint& other, float tolerance = MFloatPoint_kTol) const;

    static const MFloatPoint origin;

    float x = 0.0F;
    float y = 0.0F;
    float z = 0.0F;
    float w = 1.0F;

private:
    float component(unsigned int i) const { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : w)); }
    float& component(unsigned int i) { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : w)); }
};

inline MFloatPoint operator*(int scale, const MFloatPoint& p) {
    return p * static_cast<float>(scale);
}
inline MFloatPoint operator*(double scale, const MFloatPoint& p) {
    return p * static_cast<float>(scale);
}
//! The matrix on the left treats the point as a column: the result is p * transpose(m).
OPENMAYA_EXPORT MFloatPoint operator*(const MFloatMatrix& m, const MFloatPoint& p);
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MFloatPoint& p);
