#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <iosfwd>

#define MMatrix_kTol 1.0e-10

//! A 4x4 double-precision matrix, stored row by row. Points and vectors are
//! row vectors (p * M): a transformation's translation is the last row, and
//! A * B applies A first, then B.
class OPENMAYA_EXPORT MMatrix {
public:
    constexpr MMatrix() = default;
    constexpr MMatrix(const MMatrix&) = default;
    MMatrix(const double m[4][4]);
    MMatrix(const float m[4][4]);
    ~MMatrix() = default;

    MMatrix& operator=(const MMatrix&) = default;

    double operator()(unsigned int row, unsigned int col) const { return matrix[row][col]; }
    double& operator()(unsigned int row, unsigned int col) { return matrix[row][col]; }
    const double* operator[](unsigned int row) const { return matrix[row]; }
    double* operator[](unsigned int row) { return matrix[row]; }
    MStatus get(double dest[4][4]) const;
    MStatus get(float dest[4][4]) const;

    MMatrix transpose() const;
    MMatrix& setToIdentity();
    MMatrix& setToProduct(const MMatrix& left, const MMatrix& right);

    MMatrix& operator+=(const MMatrix& right);
    MMatrix operator+(const MMatrix& right) const;
    MMatrix& operator-=(const MMatrix& right);
    MMatrix operator-(const MMatrix& right) const;
    MMatrix& operator*=(const MMatrix& right);
    MMatrix operator*(const MMatrix& right) const;
    MMatrix& operator*=(double scale);
    MMatrix operator*(double scale) const;
    bool operator==(const MMatrix& other) const;
    bool operator!=(const MMatrix& other) const { return !(*this == other); }

    //! The inverse; a singular matrix has none and gives the identity.
    MMatrix inverse() const;
    MMatrix adjoint() const;
    //! The last column set to (0, 0, 0, 1) and the rows of the upper 3x3 made unit length.
    MMatrix homogenize() const;
    double det4x4() const;
    //! Determinant of the upper left 3x3.
    double det3x3() const;
    //! True when no element differs by more than tolerance.
    bool isEquivalent(const MMatrix& other, double tolerance = MMatrix_kTol) const;
    bool isSingular() const;

    static const MMatrix identity;

    double matrix[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

OPENMAYA_EXPORT MMatrix operator*(double scale, const MMatrix& right);
OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MMatrix& m);
