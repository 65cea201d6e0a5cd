#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <iosfwd>

class MMatrix;
class MQuaternion;
class MVector;

#define MEulerRotation_kTol 1.0e-10

//! Rotation as three angles in radians about x, y and z, applied in the given
//! order: kXYZ turns about x first, then y, then z (matrix Rx * Ry * Rz).
class OPENMAYA_EXPORT MEulerRotation {
public:
    enum RotationOrder { kXYZ, kYZX, kZXY, kXZY, kYXZ, kZYX };

    constexpr MEulerRotation() = default;
    constexpr MEulerRotation(const MEulerRotation&) = default;
    MEulerRotation(const MVector& v, RotationOrder ord = kXYZ);
    constexpr MEulerRotation(double xx, double yy, double zz, RotationOrder ord = kXYZ)
        : x(xx), y(yy), z(zz), order(ord) {}
    MEulerRotation(const double d[3], RotationOrder ord = kXYZ)
        : x(d[0]), y(d[1]), z(d[2]), order(ord) {}
    ~MEulerRotation() = default;

    MEulerRotation& operator=(const MEulerRotation&) = default;
    //! The quaternion's rotation, decomposed in this rotation's order.
    MEulerRotation& operator=(const MQuaternion& q);
    //! The matrix's rotation, decomposed in this rotation's order.
    MEulerRotation& operator=(const MMatrix& m);
    MEulerRotation& operator=(const MVector& v);
    MEulerRotation& setValue(const MVector& v, RotationOrder ord = kXYZ);
    MEulerRotation& setValue(double xx, double yy, double zz, RotationOrder ord = kXYZ) {
        x = xx;
        y = yy;
        z = zz;
        order = ord;
        return *this;
    }
    MEulerRotation& setValue(const double d[3], RotationOrder ord = kXYZ) {
        return setValue(d[0], d[1], d[2], ord);
    }

    double operator[](unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator[](unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }

    MQuaternion asQuaternion() const;
    MMatrix asMatrix() const;
    MVector asVector() const;

    //! Angle by angle; the result keeps this rotation's order.
    MEulerRotation operator+(const MEulerRotation& other) const {
        return MEulerRotation(x + other.x, y + other.y, z + other.z, order);
    }
    MEulerRotation& operator+=(const MEulerRotation& other) { return *this = *this + other; }
    MEulerRotation operator-(const MEulerRotation& other) const {
        return MEulerRotation(x - other.x, y - other.y, z - other.z, order);
    }
    MEulerRotation& operator-=(const MEulerRotation& other) { return *this = *this - other; }
    MEulerRotation operator-() const { return MEulerRotation(-x, -y, -z, order); }
    //! This rotation followed by other, in this rotation's order.
    MEulerRotation operator*(const MEulerRotation& other) const;
    MEulerRotation operator*(const MQuaternion& other) const;
    MEulerRotation operator*(double scale) const {
        return MEulerRotation(x * scale, y * scale, z * scale, order);
    }
    MEulerRotation& operator*=(const MEulerRotation& other) { return *this = *this * other; }
    MEulerRotation& operator*=(const MQuaternion& other) { return *this = *this * other; }
    MEulerRotation& operator*=(double scale) { return *this = *this * scale; }

    bool operator==(const MEulerRotation& other) const {
        return x == other.x && y == other.y && z == other.z && order == other.order;
    }
    bool operator!=(const MEulerRotation& other) const { return !(*this == other); }
    //! Same order and every angle within tolerance.
    bool isEquivalent(const MEulerRotation& other, double tolerance = MEulerRotation_kTol) const;
    bool isZero(double tolerance = MEulerRotation_kTol) const;

    //! Turns by angle about axis (world axes, after this rotation); the angles
    //! stay close to the current ones.
    MEulerRotation& incrementalRotateBy(const MVector& axis, double angle);
    MEulerRotation inverse() const;
    MEulerRotation& invertIt();
    //! The same rotation expressed in another order.
    MEulerRotation reorder(RotationOrder ord) const;
    MEulerRotation& reorderIt(RotationOrder ord);
    //! Every angle brought into [-pi, pi].
    MEulerRotation bound() const;
    MEulerRotation& boundIt();
    MEulerRotation& boundIt(const MEulerRotation& src);
    //! The other triple of angles in [-pi, pi] that gives the same rotation.
    MEulerRotation alternateSolution() const;
    MEulerRotation& setToAlternateSolution();
    MEulerRotation& setToAlternateSolution(const MEulerRotation& src);
    //! Of the two solutions, the one whose angles, shifted by whole turns, are closest to dst.
    MEulerRotation closestSolution(const MEulerRotation& dst) const;
    MEulerRotation& setToClosestSolution(const MEulerRotation& dst);
    MEulerRotation& setToClosestSolution(const MEulerRotation& src, const MEulerRotation& dst);
    //! Each angle shifted by whole turns to be closest to dst.
    MEulerRotation closestCut(const MEulerRotation& dst) const;
    MEulerRotation& setToClosestCut(const MEulerRotation& dst);
    MEulerRotation& setToClosestCut(const MEulerRotation& src, const MEulerRotation& dst);

    //! The rotation of matrix (scale is divided out of its rows) in the given order.
    static MEulerRotation decompose(const MMatrix& matrix, RotationOrder ord);

    static const MEulerRotation identity;

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    RotationOrder order = kXYZ;
};

inline MEulerRotation operator*(double scale, const MEulerRotation& r) {
    return r * scale;
}
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MEulerRotation& r);
