#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <iosfwd>

#define MFloatMatrix_kTol 1.0e-5F

//! Single-precision counterpart of MMatrix (row-major, row vectors).
class OPENMAYA_EXPORT MFloatMatrix {
public:
    constexpr MFloatMatrix() = default;
    constexpr MFloatMatrix(const MFloatMatrix&) = default;
    MFloatMatrix(const float m[4][4]);
    MFloatMatrix(const double m[4][4]);
    ~MFloatMatrix() = default;

    MFloatMatrix& operator=(const MFloatMatrix&) = default;

    float operator()(unsigned int row, unsigned int col) const { return matrix[row][col]; }
    float& operator()(unsigned int row, unsigned int col) { return matrix[row][col]; }
    const float* operator[](unsigned int row) const { return matrix[row]; }
    float* operator[](unsigned int row) { return matrix[row]; }
    MStatus get(float dest[4][4]) const;
    MStatus get(double dest[4][4]) const;

    MFloatMatrix transpose() const;
    MFloatMatrix& setToIdentity();
    MFloatMatrix& setToProduct(const MFloatMatrix& left, const MFloatMatrix& right);

    MFloatMatrix& operator+=(const MFloatMatrix& right);
    MFloatMatrix operator+(const MFloatMatrix& right) const;
    MFloatMatrix& operator-=(const MFloatMatrix& right);
    MFloatMatrix operator-(const MFloatMatrix& right) const;
    MFloatMatrix& operator*=(const MFloatMatrix& right);
    MFloatMatrix operator*(const MFloatMatrix& right) const;
    MFloatMatrix& operator*=(float scale);
    MFloatMatrix operator*(float scale) const;
    bool operator==(const MFloatMatrix& other) const;
    bool operator!=(const MFloatMatrix& other) const { return !(*this == other); }

    //! The inverse (computed in double precision); a singular matrix gives the identity.
    MFloatMatrix inverse() const;
    MFloatMatrix adjoint() const;
    //! The last column set to (0, 0, 0, 1) and the rows of the upper 3x3 made unit length.
    MFloatMatrix homogenize() const;
    float det4x4() const;
    //! Determinant of the upper left 3x3.
    float det3x3() const;
    //! True when no element differs by more than tolerance.
    bool isEquivalent(const MFloatMatrix& other, float tolerance = MFloatMatrix_kTol) const;
    bool isSingular() const;

    static const MFloatMatrix identity;

    float matrix[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

OPENMAYA_EXPORT MFloatMatrix operator*(float scale, const MFloatMatrix& right);
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MFloatMatrix& m);
