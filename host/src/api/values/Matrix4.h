#pragma once
// 4x4 arithmetic shared by MMatrix, MFloatMatrix and the types that multiply
// by them. Everything is done in double precision; the float matrix converts
// in and out so that its inverse is as good as the double one.

namespace ehost {

using Matrix4 = double[4][4];

//! out = a * b; out may be a or b.
void multiply4(const Matrix4& a, const Matrix4& b, Matrix4& out);
double determinant4(const Matrix4& m);
double determinant3(const Matrix4& m);
//! The transposed cofactor matrix, so that m * adjugate = det(m) * I.
void adjugate4(const Matrix4& m, Matrix4& out);
//! False, with out untouched, when m is singular relative to its own scale.
bool invert4(const Matrix4& m, Matrix4& out);
//! Row vector (v0, v1, v2, v3) times m.
void rowTimes4(const double v[4], const Matrix4& m, double out[4]);

}  // namespace ehost
