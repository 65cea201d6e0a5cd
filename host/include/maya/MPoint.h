#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>
#include <maya/MVector.h>

#include <iosfwd>

class MFloatPoint;
class MFloatVector;
class MMatrix;

#define MPoint_kTol 1.0e-10

//! A double-precision position in homogeneous coordinates (x, y, z, w), w = 1
//! for an ordinary point. Matrices apply to it as a row vector: p * M, so the
//! translation sits in the matrix's last row.
class OPENMAYA_EXPORT MPoint {
public:
    constexpr MPoint() = default;
    constexpr MPoint(const MPoint&) = default;
    MPoint(const MFloatPoint& src);
    constexpr MPoint(const MVector& src) : x(src.x), y(src.y), z(src.z) {}
    MPoint(const MFloatVector& src);
    constexpr MPoint(double xx, double yy, double zz = 0.0, double ww = 1.0)
        : x(xx), y(yy), z(zz), w(ww) {}
    MPoint(const double d[4]) : x(d[0]), y(d[1]), z(d[2]), w(d[3]) {}
    MPoint(const float d[4]) : x(d[0]), y(d[1]), z(d[2]), w(d[3]) {}
    ~MPoint() = default;

    MPoint& operator=(const MPoint&) = default;
    MPoint& operator=(const MFloatPoint& src);

    MStatus get(double dest[4]) const {
        dest[0] = x;
        dest[1] = y;
        dest[2] = z;
        dest[3] = w;
        return MStatus::kSuccess;
    }
    MStatus get(float dest[4]) const;

    double operator()(unsigned int i) const { return component(i); }
    double& operator()(unsigned int i) { return component(i); }
    double operator[](unsigned int i) const { return component(i); }
    double& operator[](unsigned int i) { return component(i); }

    //! The vector from other to this point (both taken as cartesian points).
    MVector operator-(const MPoint& other) const;
    //! The vector moves x, y and z; w stays as it was.
    MPoint operator+(const MVector& v) const { return MPoint(x + v.x, y + v.y, z + v.z, w); }
    MPoint operator-(const MVector& v) const { return MPoint(x - v.x, y - v.y, z - v.z, w); }
    MPoint& operator+=(const MVector& v) {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    MPoint& operator-=(const MVector& v) {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    //! Scales x, y and z; w stays as it was.
    MPoint operator*(double scale) const { return MPoint(x * scale, y * scale, z * scale, w); }
    MPoint operator/(double scale) const { return MPoint(x / scale, y / scale, z / scale, w); }
    //! Row-vector product of all four components; the result is not cartesianized.
    MPoint operator*(const MMatrix& right) const;
    MPoint& operator*=(const MMatrix& right);

    bool operator==(const MPoint& other) const {
        return x == other.x && y == other.y && z == other.z && w == other.w;
    }
    bool operator!=(const MPoint& other) const { return !(*this == other); }

    //! (x/w, y/w, z/w, 1). A point at infinity (w = 0) is left as it is.
    MPoint& cartesianize();
    //! (x/w, y/w, z/w, w). A point at infinity (w = 0) is left as it is.
    MPoint& rationalize();
    //! (x*w, y*w, z*w, w).
    MPoint& homogenize();
    //! Distance between the cartesian positions.
    double distanceTo(const MPoint& other) const;
    //! True when the cartesian positions are no further apart than tolerance.
    bool isEquivalent(const MPoint& other, double tolerance = MPoint_kTol) const;

    static const MPoint origin;

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double w = 1.0;

private:
    double component(unsigned int i) const { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : w)); }
    double& component(unsigned int i) { return i == 0 ? x : (i == 1 ? y : (i == 2 ? z : w)); }
};

inline MPoint operator*(int scale, const MPoint& p) {
    return p * scale;
}
inline MPoint operator*(double scale, const MPoint& p) {
    return p * scale;
}
//! The matrix on the left treats the point as a column: the result is p * transpose(m).
OPENMAYA_EXPORT MPoint operator*(const MMatrix& m, const MPoint& p);
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MPoint& p);
