#include <maya/MAngle.h>
#include <maya/MBoundingBox.h>
#include <maya/MColor.h>
#include <maya/MColorArray.h>
#include <maya/MDistance.h>
#include <maya/MDoubleArray.h>
#include <maya/MEulerRotation.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatMatrix.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVector.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MIntArray.h>
#include <maya/MMatrix.h>
#include <maya/MObjectArray.h>
#include <maya/MPoint.h>
#include <maya/MPointArray.h>
#include <maya/MQuaternion.h>
#include <maya/MString.h>
#include <maya/MTransformationMatrix.h>
#include <maya/MUintArray.h>
#include <maya/MVector.h>
#include <maya/MVectorArray.h>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

MMatrix fromRows(std::initializer_list<std::initializer_list<double>> rows) {
    MMatrix m;
    int i = 0;
    for (const auto& row : rows) {
        int j = 0;
        for (double e : row) m.matrix[i][j++] = e;
        ++i;
    }
    return m;
}

MMatrix translation(double x, double y, double z) {
    MMatrix m;
    m[3][0] = x;
    m[3][1] = y;
    m[3][2] = z;
    return m;
}

template <class T>
std::string text(const T& value) {
    std::ostringstream os;
    os << value;
    return os.str();
}

std::vector<int> contents(const MIntArray& a) {
    return std::vector<int>(a.begin(), a.end());
}

const MMatrix kDense = fromRows({{1, 2, 3, 4}, {5, 6, 7, 8}, {2, 6, 4, 8}, {3, 1, 1, 2}});

const MEulerRotation::RotationOrder kAllOrders[] = {MEulerRotation::kXYZ, MEulerRotation::kYZX,
                                                    MEulerRotation::kZXY, MEulerRotation::kXZY,
                                                    MEulerRotation::kYXZ, MEulerRotation::kZYX};

// The axes of each order (indexed by the order), first to last.
const int kAxes[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {1, 0, 2}, {2, 1, 0}};

// Angles for the first, middle and last axis of order, as an (x, y, z) rotation.
MEulerRotation inOrder(MEulerRotation::RotationOrder order, double first, double middle,
                       double last) {
    double t[3];
    t[kAxes[order][0]] = first;
    t[kAxes[order][1]] = middle;
    t[kAxes[order][2]] = last;
    return MEulerRotation(t, order);
}

}  // namespace

// ---------------------------------------------------------------- matrices

TEST(MMatrixArithmetic, ProductTransposeAndDeterminantOnKnownValues) {
    const MMatrix b = fromRows({{0, 1, 0, 0}, {2, 0, 0, 0}, {0, 0, 3, 0}, {1, 1, 1, 1}});
    EXPECT_EQ(kDense * b,
              fromRows({{8, 5, 13, 4}, {20, 13, 29, 8}, {20, 10, 20, 8}, {4, 5, 5, 2}}));
    EXPECT_NE(kDense * b, b * kDense);
    // A zero in the first diagonal place needs row exchanges to invert.
    EXPECT_TRUE((b * b.inverse()).isEquivalent(MMatrix::identity, 1e-15)) << b.inverse();

    const MMatrix t = kDense.transpose();
    EXPECT_EQ(t(0, 1), 5.0);
    EXPECT_EQ(t(3, 2), 8.0);
    EXPECT_EQ(t.transpose(), kDense);

    EXPECT_DOUBLE_EQ(kDense.det4x4(), 72.0);
    EXPECT_DOUBLE_EQ(kDense.det3x3(), 1 * (24 - 42) - 2 * (20 - 14) + 3 * (30 - 12));
    // The adjoint is the transposed cofactor matrix: m * adj(m) = det(m) * I.
    EXPECT_TRUE((kDense * kDense.adjoint()).isEquivalent(MMatrix::identity * 72.0, 1e-12));
}

TEST(MMatrixArithmetic, InverseOfKnownMatrices) {
    const MMatrix inv = kDense.inverse();
    const MMatrix expected = fromRows({{-1.0 / 6, 1.0 / 18, -1.0 / 18, 1.0 / 3},
                                       {-5.0 / 6, 5.0 / 18, 2.0 / 9, -1.0 / 3},
                                       {1.0 / 6, 5.0 / 18, -5.0 / 18, -1.0 / 3},
                                       {7.0 / 12, -13.0 / 36, 1.0 / 9, 1.0 / 3}});
    EXPECT_TRUE(inv.isEquivalent(expected, 1e-14)) << inv;
    EXPECT_TRUE((inv * kDense).isEquivalent(MMatrix::identity, 1e-14));

    // Scale then translate: the inverse undoes the translation, then the scale.
    const MMatrix st = fromRows({{2, 0, 0, 0}, {0, 4, 0, 0}, {0, 0, 8, 0}, {1, 2, 3, 1}});
    EXPECT_TRUE(st.inverse().isEquivalent(
        fromRows({{0.5, 0, 0, 0}, {0, 0.25, 0, 0}, {0, 0, 0.125, 0}, {-0.5, -0.5, -0.375, 1}}),
        1e-15));

    // Tiny but regular scales must still invert.
    MMatrix small = MMatrix::identity * 1e-6;
    small[3][3] = 1.0;
    EXPECT_FALSE(small.isSingular());
    EXPECT_NEAR(small.inverse()(0, 0), 1e6, 1e-6);

    const MFloatMatrix fm(kDense.matrix);
    EXPECT_TRUE((fm * fm.inverse()).isEquivalent(MFloatMatrix::identity));
}

TEST(MMatrixArithmetic, SingularMatrixGivesIdentityInsteadOfInfinities) {
    MMatrix flat;
    flat[2][2] = 0.0;
    EXPECT_TRUE(flat.isSingular());
    EXPECT_EQ(flat.inverse(), MMatrix::identity);
}

TEST(MMatrixArithmetic, IsEquivalentUsesTheTolerancePerElement) {
    MMatrix near = kDense;
    near[1][2] += 1e-11;
    EXPECT_NE(near, kDense);
    EXPECT_TRUE(near.isEquivalent(kDense));
    near[1][2] += 1e-9;
    EXPECT_FALSE(near.isEquivalent(kDense));
    EXPECT_TRUE(near.isEquivalent(kDense, 1e-8));
}

TEST(MMatrixArithmetic, HomogenizeClearsTheLastColumnAndNormalisesRows) {
    MMatrix m = fromRows({{3, 0, 4, 7}, {0, 2, 0, 1}, {0, 0, 5, 2}, {9, 8, 7, 6}});
    const MMatrix h = m.homogenize();
    EXPECT_EQ(h, fromRows({{0.6, 0, 0.8, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {9, 8, 7, 1}}));
}

// ---------------------------------------------------------------- points and vectors

TEST(MPointTransform, RowVectorConventionWithTranslationInTheLastRow) {
    const MPoint p(1, 2, 3);
    EXPECT_EQ(p * translation(10, 20, 30), MPoint(11, 22, 33, 1));
    // Vectors are directions: the translation row does not move them.
    EXPECT_EQ(MVector(1, 2, 3) * translation(10, 20, 30), MVector(1, 2, 3));

    const MMatrix turnZ = MEulerRotation(0, 0, kPi / 2).asMatrix();
    EXPECT_TRUE((MPoint(1, 0, 0) * turnZ).isEquivalent(MPoint(0, 1, 0)));
    // A * B applies A first: turn about the origin, then move.
    const MPoint turnedThenMoved = MPoint(1, 0, 0) * (turnZ * translation(5, 0, 0));
    EXPECT_TRUE(turnedThenMoved.isEquivalent(MPoint(5, 1, 0))) << turnedThenMoved;
    const MPoint movedThenTurned = MPoint(1, 0, 0) * (translation(5, 0, 0) * turnZ);
    EXPECT_TRUE(movedThenTurned.isEquivalent(MPoint(0, 6, 0))) << movedThenTurned;

    // The matrix on the left takes the point as a column.
    EXPECT_EQ(kDense * p, p * kDense.transpose());
    MPoint q = p;
    q *= kDense;
    EXPECT_EQ(q, MPoint(1 + 10 + 6 + 3, 2 + 12 + 18 + 1, 3 + 14 + 12 + 1, 4 + 16 + 24 + 2));

    const MFloatPoint fp(1, 2, 3);
    EXPECT_TRUE(
        (fp * MFloatMatrix(translation(10, 20, 30).matrix)).isEquivalent(MFloatPoint(11, 22, 33)));
}

TEST(MPointTransform, HomogeneousCoordinates) {
    MPoint h(2, 4, 6, 2);
    EXPECT_EQ(MPoint(h).cartesianize(), MPoint(1, 2, 3, 1));
    EXPECT_EQ(MPoint(h).rationalize(), MPoint(1, 2, 3, 2));
    EXPECT_EQ(MPoint(1, 2, 3, 2).homogenize(), MPoint(2, 4, 6, 2));
    EXPECT_EQ(MPoint(1, 2, 3, 0).cartesianize(), MPoint(1, 2, 3, 0));
    // Differences and distances are between the positions the points stand for.
    EXPECT_EQ(h - MPoint(0, 0, 0), MVector(1, 2, 3));
    EXPECT_DOUBLE_EQ(h.distanceTo(MPoint(1, 2, 4)), 1.0);
    EXPECT_TRUE(h.isEquivalent(MPoint(1, 2, 3)));

    const MPoint mid = (MPoint(0, 0, 0) + MPoint(2, 4, 6)) * 0.5;
    EXPECT_EQ(mid, MPoint(1, 2, 3, 1));
    EXPECT_EQ(MPoint(1, 2, 3) + MVector(1, 1, 1), MPoint(2, 3, 4));
}

TEST(MPointTransform, IsEquivalentTolerance) {
    const MPoint p(1, 2, 3);
    EXPECT_TRUE(p.isEquivalent(MPoint(1, 2, 3 + 5e-11)));
    EXPECT_FALSE(p.isEquivalent(MPoint(1, 2, 3 + 5e-10)));
    EXPECT_TRUE(p.isEquivalent(MPoint(1, 2, 3.001), 0.01));
    EXPECT_TRUE(MVector(1, 0, 0).isEquivalent(MVector(1, 5e-11, 0)));
    EXPECT_FALSE(MVector(1, 0, 0).isEquivalent(MVector(1, 5e-10, 0)));
    EXPECT_TRUE(MFloatPoint(1, 2, 3).isEquivalent(MFloatPoint(1, 2, 3.000001F)));
}

TEST(MVectorProducts, CrossDotLengthAndNormal) {
    const MVector a(1, 2, 3), b(4, 5, 6);
    EXPECT_EQ(a ^ b, MVector(-3, 6, -3));
    EXPECT_EQ(b ^ a, MVector(3, -6, 3));
    EXPECT_EQ(MVector::xAxis ^ MVector::yAxis, MVector::zAxis);
    EXPECT_DOUBLE_EQ(a * b, 32.0);
    EXPECT_DOUBLE_EQ(MVector(3, 4, 12).length(), 13.0);
    EXPECT_EQ(MVector(0, 0, 5).normal(), MVector::zAxis);
    EXPECT_EQ(MVector::zero.normal(), MVector::zero);
    MVector v(3, 4, 0);
    EXPECT_TRUE(v.normalize());
    EXPECT_EQ(v, MVector(0.6, 0.8, 0));
    EXPECT_EQ(MFloatVector(1, 2, 3) ^ MFloatVector(4, 5, 6), MFloatVector(-3, 6, -3));
}

TEST(MVectorProducts, AngleIsInZeroToPiAndAccurateNearBothEnds) {
    const MVector x(2, 0, 0);
    EXPECT_DOUBLE_EQ(x.angle(MVector(5, 0, 0)), 0.0);
    EXPECT_DOUBLE_EQ(x.angle(MVector(-1, 0, 0)), kPi);
    EXPECT_DOUBLE_EQ(x.angle(MVector(0, 3, 0)), kPi / 2);
    EXPECT_DOUBLE_EQ(x.angle(MVector(1, 1, 0)), kPi / 4);
    EXPECT_DOUBLE_EQ(MVector(1, 1, 0).angle(MVector(-1, 0, 0)), 3 * kPi / 4);
    // An arccosine of the dot product would round these to 0 and pi.
    EXPECT_NEAR(x.angle(MVector(1, 1e-9, 0)), 1e-9, 1e-18);
    EXPECT_NEAR(x.angle(MVector(-1, 1e-9, 0)), kPi - 1e-9, 1e-15);
    EXPECT_EQ(x.angle(MVector::zero), 0.0);
    EXPECT_NEAR(MFloatVector(1, 0, 0).angle(MFloatVector(0, -1, 0)), kPi / 2, 1e-6);
}

TEST(MVectorProducts, ParallelCoversBothDirectionsWithinTolerance) {
    const MVector v(1, 2, 3);
    EXPECT_TRUE(v.isParallel(v * 7.5));
    EXPECT_TRUE(v.isParallel(-v));
    EXPECT_FALSE(v.isParallel(MVector(1, 2, 3.001)));
    EXPECT_TRUE(v.isParallel(MVector(1, 2, 3.001), 1e-6));
    EXPECT_FALSE(v.isParallel(MVector(-3, 0, 1)));
    EXPECT_FALSE(v.isParallel(MVector::zero));
}

TEST(MVectorProducts, RotationsAndNormals) {
    EXPECT_TRUE(MVector::xAxis.rotateBy(MVector::kZaxis, kPi / 2).isEquivalent(MVector::yAxis));
    EXPECT_TRUE(MVector::yAxis.rotateBy(MVector::kXaxis, kPi / 2).isEquivalent(MVector::zAxis));
    EXPECT_TRUE(MVector::zAxis.rotateBy(MVector::kYaxis, kPi / 2).isEquivalent(MVector::xAxis));
    const double xyz[3] = {kPi / 2, 0, kPi / 2};
    // kXYZ: the turn about x leaves x alone, then the turn about z takes it to y.
    EXPECT_TRUE(
        MVector::xAxis.rotateBy(xyz, MTransformationMatrix::kXYZ).isEquivalent(MVector::yAxis));
    // kZYX: about z first (x -> y), then about x (y -> z).
    EXPECT_TRUE(
        MVector::xAxis.rotateBy(xyz, MTransformationMatrix::kZYX).isEquivalent(MVector::zAxis));

    // A normal stays perpendicular to the surface under a non-uniform scale.
    const MMatrix squash = fromRows({{1, 0, 0, 0}, {0, 4, 0, 0}, {0, 0, 1, 0}, {7, 8, 9, 1}});
    const MVector tangent(1, 1, 0), normal(1, -1, 0);
    const MVector movedNormal = normal.transformAsNormal(squash);
    EXPECT_NEAR((tangent * squash) * movedNormal, 0.0, 1e-15);
    EXPECT_TRUE(movedNormal.isEquivalent(MVector(1, -0.25, 0)));
}

// ---------------------------------------------------------------- rotations

TEST(MEulerRotationOrders, MatrixComposesTheAxesInTheNamedOrder) {
    const double a = 0.3, b = -0.7, c = 1.1;
    const MMatrix rx = MEulerRotation(a, 0, 0).asMatrix();
    const MMatrix ry = MEulerRotation(0, b, 0).asMatrix();
    const MMatrix rz = MEulerRotation(0, 0, c).asMatrix();
    EXPECT_TRUE(
        MEulerRotation(a, b, c, MEulerRotation::kXYZ).asMatrix().isEquivalent(rx * ry * rz));
    EXPECT_TRUE(
        MEulerRotation(a, b, c, MEulerRotation::kYZX).asMatrix().isEquivalent(ry * rz * rx));
    EXPECT_TRUE(
        MEulerRotation(a, b, c, MEulerRotation::kZXY).asMatrix().isEquivalent(rz * rx * ry));
    EXPECT_TRUE(
        MEulerRotation(a, b, c, MEulerRotation::kXZY).asMatrix().isEquivalent(rx * rz * ry));
    EXPECT_TRUE(
        MEulerRotation(a, b, c, MEulerRotation::kYXZ).asMatrix().isEquivalent(ry * rx * rz));
    EXPECT_TRUE(
        MEulerRotation(a, b, c, MEulerRotation::kZYX).asMatrix().isEquivalent(rz * ry * rx));
    // Positive angles turn counter-clockwise looking down the axis.
    EXPECT_TRUE((MVector::yAxis * rx).isEquivalent(MVector(0, std::cos(a), std::sin(a))));
}

TEST(MEulerRotationOrders, DecomposeRecoversTheAnglesInEveryOrder) {
    // The middle angle of a decomposition lies in [-pi/2, pi/2], the others in [-pi, pi].
    const double angles[][3] = {{0.3, -0.7, 1.1}, {-2.5, 1.2, 3.0}, {1.0, 0.0, -1.0}};
    for (auto order : kAllOrders) {
        for (const auto& t : angles) {
            const MEulerRotation r = inOrder(order, t[0], t[1], t[2]);
            const MEulerRotation back = MEulerRotation::decompose(r.asMatrix(), order);
            EXPECT_TRUE(back.isEquivalent(r, 1e-12)) << "order " << order << ": " << back;
            EXPECT_TRUE(back.asQuaternion().asMatrix().isEquivalent(r.asMatrix(), 1e-12));
            // Another order gives other angles for the same rotation.
            const MEulerRotation other = r.reorder(MEulerRotation::kZXY);
            EXPECT_TRUE(other.asMatrix().isEquivalent(r.asMatrix(), 1e-12));
            // Scale in the rows does not disturb the angles.
            const MMatrix scaled =
                fromRows({{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 1}}) * r.asMatrix();
            EXPECT_TRUE(MEulerRotation::decompose(scaled, order).isEquivalent(r, 1e-12));
        }
    }
}

TEST(MEulerRotationOrders, GimbalLockStillGivesTheSameMatrix) {
    for (auto order : kAllOrders) {
        for (double middle : {kPi / 2, -kPi / 2}) {
            const MEulerRotation r = inOrder(order, 0.4, middle, -0.9);
            const MEulerRotation back = MEulerRotation::decompose(r.asMatrix(), order);
            EXPECT_TRUE(back.asMatrix().isEquivalent(r.asMatrix(), 1e-9)) << "order " << order;
        }
    }
}

TEST(MEulerRotationOrders, AlternatesInversesAndClosestSolutions) {
    const MEulerRotation r(0.3, -0.7, 1.1, MEulerRotation::kYXZ);
    const MEulerRotation alt = r.alternateSolution();
    EXPECT_FALSE(alt.isEquivalent(r, 1e-3));
    EXPECT_TRUE(alt.asMatrix().isEquivalent(r.asMatrix(), 1e-12));
    EXPECT_TRUE(alt.closestSolution(r).isEquivalent(r, 1e-12));
    EXPECT_TRUE((r.asMatrix() * r.inverse().asMatrix()).isEquivalent(MMatrix::identity, 1e-12));

    const MEulerRotation wound(0.1 + 4 * kPi, -0.2 - 2 * kPi, 0.3);
    EXPECT_TRUE(wound.bound().isEquivalent(MEulerRotation(0.1, -0.2, 0.3), 1e-12));
    EXPECT_TRUE(MEulerRotation(0.1, 0.2, 0.3)
                    .closestCut(wound)
                    .isEquivalent(MEulerRotation(0.1 + 4 * kPi, 0.2 - 2 * kPi, 0.3), 1e-12));
}

TEST(MQuaternionRotation, ProductsFollowTheMatrixOrder) {
    const MQuaternion a(0.4, MVector(1, 2, 3)), b(-1.3, MVector(0, 1, -1));
    EXPECT_TRUE((a * b).asMatrix().isEquivalent(a.asMatrix() * b.asMatrix(), 1e-12));
    EXPECT_FALSE((a * b).asMatrix().isEquivalent((b * a).asMatrix(), 1e-3));
    EXPECT_TRUE((a * a.inverse()).isEquivalent(MQuaternion::identity, 1e-14));

    MQuaternion fromMatrix;
    fromMatrix = (a * b).asMatrix();
    EXPECT_TRUE(fromMatrix.asMatrix().isEquivalent((a * b).asMatrix(), 1e-12));
    // Every branch of the matrix conversion: half turns about each axis.
    for (const MVector& axis : {MVector::xAxis, MVector::yAxis, MVector::zAxis, MVector(1, 1, 0)}) {
        MQuaternion q;
        q = MQuaternion(kPi, axis).asMatrix();
        EXPECT_TRUE(q.asMatrix().isEquivalent(MQuaternion(kPi, axis).asMatrix(), 1e-12)) << axis;
    }

    MVector axis;
    double theta = 0.0;
    EXPECT_TRUE(a.getAxisAngle(axis, theta));
    EXPECT_NEAR(theta, 0.4, 1e-15);
    EXPECT_TRUE(axis.isEquivalent(MVector(1, 2, 3).normal(), 1e-15));
    EXPECT_FALSE(MQuaternion::identity.getAxisAngle(axis, theta));

    const MEulerRotation e(0.3, -0.7, 1.1, MEulerRotation::kZXY);
    EXPECT_TRUE(e.asQuaternion().asMatrix().isEquivalent(e.asMatrix(), 1e-12));
    EXPECT_TRUE(slerp(MQuaternion::identity, MQuaternion(1.0, MVector::zAxis), 0.25)
                    .isEquivalent(MQuaternion(0.25, MVector::zAxis), 1e-12));
}

TEST(MQuaternionRotation, TurnsOneDirectionOntoAnother) {
    const MVector from(1, 2, 3), to(-2, 0.5, 1);
    EXPECT_TRUE(from.rotateBy(from.rotateTo(to)).normal().isEquivalent(to.normal(), 1e-12));
    // Opposite directions: any half turn about a perpendicular axis does it.
    const MVector flipped = from.rotateBy(MQuaternion(from, -from));
    EXPECT_TRUE(flipped.isEquivalent(-from, 1e-12)) << flipped;
    EXPECT_TRUE(MQuaternion(from, from * 2).isEquivalent(MQuaternion::identity));
    // Half the angle stops halfway.
    const MVector half = MVector::xAxis.rotateBy(MQuaternion(MVector::xAxis, MVector::yAxis, 0.5));
    EXPECT_TRUE(half.isEquivalent(MVector(1, 1, 0).normal(), 1e-12));
}

// ---------------------------------------------------------------- transformation matrices

TEST(MTransformationMatrixComposition, ScaleThenRotateThenTranslate) {
    MTransformationMatrix tm;
    const double scale[3] = {2, 2, 2};
    const double rotation[3] = {0, 0, kPi / 2};
    tm.setScale(scale, MSpace::kTransform);
    tm.setRotation(rotation, MTransformationMatrix::kXYZ);
    tm.setTranslation(MVector(5, 0, 0), MSpace::kTransform);
    EXPECT_TRUE((MPoint(1, 0, 0) * tm.asMatrix()).isEquivalent(MPoint(5, 2, 0)));
    EXPECT_TRUE((tm.asMatrix() * tm.asMatrixInverse()).isEquivalent(MMatrix::identity));
    EXPECT_TRUE(tm.asMatrix(0.0).isEquivalent(MMatrix::identity));
    EXPECT_TRUE(tm.asMatrix(1.0).isEquivalent(tm.asMatrix()));
}

TEST(MTransformationMatrixComposition, DecompositionRoundTripKeepsTheRotationOrder) {
    MTransformationMatrix tm;
    const double scale[3] = {1.5, 0.5, 3.0};
    const double shear[3] = {0.2, -0.1, 0.3};
    const double rotation[3] = {0.3, -0.7, 1.1};
    tm.setScale(scale, MSpace::kTransform);
    tm.setShear(shear, MSpace::kTransform);
    tm.setRotation(rotation, MTransformationMatrix::kZXY);
    tm.setTranslation(MVector(4, -5, 6), MSpace::kTransform);
    const MMatrix m = tm.asMatrix();

    MTransformationMatrix back;
    back.setRotationOrder(MTransformationMatrix::kZXY, false);
    back = m;
    EXPECT_EQ(back.rotationOrder(), MTransformationMatrix::kZXY);
    EXPECT_TRUE(back.asMatrix().isEquivalent(m, 1e-12));
    EXPECT_TRUE(back.getTranslation(MSpace::kTransform).isEquivalent(MVector(4, -5, 6)));
    double r[3], s[3], sh[3];
    MTransformationMatrix::RotationOrder order;
    back.getRotation(r, order);
    back.getScale(s, MSpace::kTransform);
    back.getShear(sh, MSpace::kTransform);
    EXPECT_EQ(order, MTransformationMatrix::kZXY);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(r[i], rotation[i], 1e-12) << i;
        EXPECT_NEAR(s[i], scale[i], 1e-12) << i;
        EXPECT_NEAR(sh[i], shear[i], 1e-12) << i;
    }

    // Decomposed in the default order the angles differ, the matrix does not.
    const MTransformationMatrix xyz(m);
    EXPECT_EQ(xyz.rotationOrder(), MTransformationMatrix::kXYZ);
    EXPECT_FALSE(xyz.eulerRotation().asVector().isEquivalent(tm.eulerRotation().asVector(), 1e-3));
    EXPECT_TRUE(xyz.asMatrix().isEquivalent(m, 1e-12));

    // A mirrored matrix keeps a proper rotation and puts the flip in the scale.
    const MMatrix mirrored =
        fromRows({{-1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}) * m;
    EXPECT_TRUE(MTransformationMatrix(mirrored).asMatrix().isEquivalent(mirrored, 1e-12));
    EXPECT_NEAR(MTransformationMatrix(mirrored).eulerRotation().asMatrix().det3x3(), 1.0, 1e-12);
}

TEST(MTransformationMatrixComposition, RotationOrderAndPivots) {
    MTransformationMatrix tm;
    const double rotation[3] = {0.3, -0.7, 1.1};
    tm.setRotation(rotation, MTransformationMatrix::kXYZ);
    const MMatrix before = tm.asMatrix();
    tm.setRotationOrder(MTransformationMatrix::kYZX, true);
    EXPECT_TRUE(tm.asMatrix().isEquivalent(before, 1e-12));
    tm.setRotationOrder(MTransformationMatrix::kXYZ, false);
    EXPECT_FALSE(tm.asMatrix().isEquivalent(before, 1e-3));
    EXPECT_FALSE(tm.setRotationOrder(MTransformationMatrix::kInvalid, true));

    // The rotate pivot stays where it is while the rest turns about it.
    MTransformationMatrix pivoted;
    pivoted.setRotation(rotation, MTransformationMatrix::kXYZ);
    pivoted.setRotatePivot(MPoint(1, 2, 3), MSpace::kTransform, false);
    EXPECT_TRUE((MPoint(1, 2, 3) * pivoted.asMatrix()).isEquivalent(MPoint(1, 2, 3), 1e-12));
    // Balancing moves the pivot without moving anything else.
    const double scale[3] = {2, 3, 4};
    pivoted.setScale(scale, MSpace::kTransform);
    const MMatrix scaled = pivoted.asMatrix();
    pivoted.setRotatePivot(MPoint(-4, 0, 7), MSpace::kTransform, true);
    pivoted.setScalePivot(MPoint(2, 2, 2), MSpace::kTransform, true);
    EXPECT_TRUE(pivoted.asMatrix().isEquivalent(scaled, 1e-12));
    EXPECT_TRUE(pivoted.rotatePivot(MSpace::kTransform).isEquivalent(MPoint(-4, 0, 7)));
}

// ---------------------------------------------------------------- arrays

TEST(ValueArrayBounds, OutOfRangeEditsFailAndLeaveTheArrayAsItWas) {
    const int values[] = {10, 20, 30};
    MIntArray a(values, 3);

    MStatus status = a.set(99, 3);
    EXPECT_EQ(status, MStatus::kInvalidParameter);
    EXPECT_NE(status.errorString().str().find("index 3"), std::string::npos) << status;
    EXPECT_NE(status.errorString().str().find("length 3"), std::string::npos) << status;
    EXPECT_FALSE(a.remove(3));
    EXPECT_FALSE(a.insert(99, 4));
    EXPECT_FALSE(a.remove(static_cast<unsigned int>(-1)));
    EXPECT_EQ(contents(a), (std::vector<int>{10, 20, 30}));

    MPointArray points(2, MPoint(1, 1, 1));
    EXPECT_FALSE(points.set(MPoint(5, 5, 5), 2));
    EXPECT_FALSE(points.set(2, 5.0, 5.0, 5.0));
    const double row[4] = {5, 5, 5, 1};
    EXPECT_FALSE(points.set(row, 7));
    EXPECT_EQ(points.length(), 2u);
    EXPECT_EQ(points[1], MPoint(1, 1, 1));

    MIntArray empty;
    EXPECT_FALSE(empty.remove(0));
    EXPECT_TRUE(empty.insert(7, 0));
    EXPECT_EQ(contents(empty), std::vector<int>{7});
}

TEST(ValueArrayBounds, InsertAndRemoveKeepTheOrder) {
    MIntArray a;
    a.append(1);
    a.append(3);
    EXPECT_TRUE(a.insert(0, 0));
    EXPECT_TRUE(a.insert(2, 2));
    EXPECT_TRUE(a.insert(4, a.length()));
    EXPECT_EQ(contents(a), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(a.remove(0));
    EXPECT_TRUE(a.remove(1));
    EXPECT_TRUE(a.remove(a.length() - 1));
    EXPECT_EQ(contents(a), (std::vector<int>{1, 3}));
    // An element of the array itself can be inserted into it.
    EXPECT_TRUE(a.insert(a[1], 0));
    EXPECT_EQ(contents(a), (std::vector<int>{3, 1, 3}));
    EXPECT_TRUE(a.set(8, 1));
    EXPECT_EQ(a[1], 8);
}

TEST(ValueArrayBounds, ConstructionLengthCopyAndConversions) {
    MDoubleArray d(3, 2.5);
    EXPECT_EQ(d.length(), 3u);
    EXPECT_EQ(d[2], 2.5);
    d.setLength(5);
    EXPECT_EQ(d[4], 0.0);
    d.setLength(1);
    EXPECT_EQ(d.length(), 1u);
    MDoubleArray copied;
    copied.copy(d);
    d.clear();
    EXPECT_EQ(copied.length(), 1u);
    EXPECT_EQ(d.length(), 0u);

    MPointArray points;
    points.append(1, 2, 3);
    points.append(MVector(4, 5, 6));
    EXPECT_TRUE(points.set(1, 7.0, 8.0, 9.0, 2.0));
    double rows[2][4];
    points.get(rows);
    EXPECT_EQ(rows[1][2], 9.0);
    EXPECT_EQ(rows[1][3], 2.0);
    const MPointArray fromRows2(rows, 2);
    EXPECT_EQ(fromRows2[0], MPoint(1, 2, 3, 1));
    MFloatPointArray floats(fromRows2.length());
    for (unsigned int i = 0; i < fromRows2.length(); ++i) floats[i] = MFloatPoint(fromRows2[i]);
    EXPECT_EQ(floats[1], MFloatPoint(7, 8, 9, 2));

    const float vrows[1][3] = {{1, 0, 0}};
    EXPECT_EQ(MVectorArray(vrows, 1)[0], MVector::xAxis);
    MColorArray colours(2);
    EXPECT_TRUE(colours.set(1, 0.5F, 0.25F, 0.0F));
    EXPECT_EQ(colours[1], MColor(0.5F, 0.25F, 0.0F, 1.0F));
    EXPECT_EQ(colours[0], MColor::kOpaqueBlack);

    EXPECT_EQ(text(MIntArray(2, 4)), "[4, 4]");
    EXPECT_EQ(text(points), "[(1, 2, 3, 1), (7, 8, 9, 2)]");
}

// ---------------------------------------------------------------- boxes, colours, units

TEST(MBoundingBoxExtent, ExpandContainsAndIntersect) {
    MBoundingBox box;
    EXPECT_FALSE(box.contains(MPoint::origin));
    EXPECT_EQ(box.width(), 0.0);
    box.expand(MPoint(1, 2, 3));
    EXPECT_TRUE(box.contains(MPoint(1, 2, 3)));
    box.expand(MPoint(-1, 4, 0));
    EXPECT_EQ(box.min(), MPoint(-1, 2, 0));
    EXPECT_EQ(box.max(), MPoint(1, 4, 3));
    EXPECT_EQ(box.center(), MPoint(0, 3, 1.5));
    EXPECT_EQ(box.width(), 2.0);
    EXPECT_EQ(box.height(), 2.0);
    EXPECT_EQ(box.depth(), 3.0);
    EXPECT_TRUE(box.contains(MPoint(1, 4, 3)));
    EXPECT_FALSE(box.contains(MPoint(1, 4, 3.001)));

    const MBoundingBox touching(MPoint(1, 0, 0), MPoint(3, 3, 3));
    const MBoundingBox apart(MPoint(1.5, 0, 0), MPoint(3, 3, 3));
    EXPECT_TRUE(box.intersects(touching));
    EXPECT_FALSE(box.intersects(apart));
    EXPECT_TRUE(box.intersects(apart, 0.5));
    EXPECT_FALSE(box.intersects(MBoundingBox()));

    MBoundingBox unit(MPoint(0, 0, 0), MPoint(1, 1, 1));
    unit.transformUsing(MEulerRotation(0, 0, kPi / 4).asMatrix() * translation(0, 0, 5));
    EXPECT_NEAR(unit.width(), std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(unit.min().z, 5.0, 1e-12);
}

TEST(MColorModels, HsvAndCmyConvertBothWays) {
    EXPECT_TRUE(MColor(MColor::kHSV, 0.0F, 1.0F, 1.0F).isEquivalent(MColor(1, 0, 0)));
    EXPECT_TRUE(MColor(MColor::kHSV, 120.0, 1.0, 0.5).isEquivalent(MColor(0, 0.5F, 0)));
    EXPECT_TRUE(MColor(MColor::kHSV, 240.0F, 0.5F, 1.0F, 0.25F)
                    .isEquivalent(MColor(0.5F, 0.5F, 1.0F, 0.25F)));
    EXPECT_TRUE(MColor(MColor::kRGB, (unsigned char)255, 0, 51).isEquivalent(MColor(1, 0, 0.2F)));
    EXPECT_TRUE(MColor(MColor::kCMY, 1.0F, 0.0F, 0.0F).isEquivalent(MColor(0, 1, 1)));
    float h, s, v;
    ASSERT_TRUE(MColor(0.2F, 0.4F, 0.8F).get(MColor::kHSV, h, s, v));
    EXPECT_NEAR(h, 220.0F, 1e-4F);
    EXPECT_NEAR(s, 0.75F, 1e-6F);
    EXPECT_NEAR(v, 0.8F, 1e-6F);
}

TEST(UnitValues, AnglesAndDistancesConvert) {
    EXPECT_DOUBLE_EQ(MAngle(180.0, MAngle::kDegrees).asRadians(), kPi);
    EXPECT_DOUBLE_EQ(MAngle(kPi / 2).asDegrees(), 90.0);
    EXPECT_NEAR(MAngle(1.0, MAngle::kDegrees).asAngSeconds(), 3600.0, 1e-9);
    EXPECT_DOUBLE_EQ(MDistance(1.0, MDistance::kInches).asCentimeters(), 2.54);
    EXPECT_DOUBLE_EQ(MDistance(1.5, MDistance::kMeters).asMillimeters(), 1500.0);
    EXPECT_DOUBLE_EQ(MDistance(1.0, MDistance::kFeet).asInches(), 12.0);
    MAngle a(2.0);
    EXPECT_FALSE(a.setUnit(MAngle::kInvalid));
    EXPECT_EQ(a.unit(), MAngle::kRadians);
    EXPECT_EQ(MAngle::uiUnit(), MAngle::kDegrees);
    EXPECT_DOUBLE_EQ(MAngle::uiToInternal(90.0), kPi / 2);
}

TEST(ValueStreams, WriteComponentsInOrder) {
    EXPECT_EQ(text(MPoint(1, 2.5, -3)), "(1, 2.5, -3, 1)");
    EXPECT_EQ(text(MVector(1, 2, 3)), "(1, 2, 3)");
    EXPECT_EQ(text(translation(1, 2, 3)),
              "[[1, 0, 0, 0], [0, 1, 0, 0], [0, 0, 1, 0], [1, 2, 3, 1]]");
}

// ---------------------------------------------------------------- the common array interface

namespace {

// Distinct sample elements for each array type, so that order is visible.
template <class A>
struct Sample;
template <>
struct Sample<MIntArray> {
    static int at(int i) { return i * 3 - 5; }
};
template <>
struct Sample<MUintArray> {
    static unsigned int at(int i) { return static_cast<unsigned int>(i) * 7u + 1u; }
};
template <>
struct Sample<MFloatArray> {
    static float at(int i) { return static_cast<float>(i) + 0.5F; }
};
template <>
struct Sample<MDoubleArray> {
    static double at(int i) { return i * 0.25 - 1.0; }
};
template <>
struct Sample<MPointArray> {
    static MPoint at(int i) { return MPoint(i, -i, 2.0 * i); }
};
template <>
struct Sample<MFloatPointArray> {
    static MFloatPoint at(int i) { return MFloatPoint(i, -i, 2.0F * i); }
};
template <>
struct Sample<MVectorArray> {
    static MVector at(int i) { return MVector(i, 1, 0); }
};
template <>
struct Sample<MFloatVectorArray> {
    static MFloatVector at(int i) { return MFloatVector(i, 1, 0); }
};
template <>
struct Sample<MColorArray> {
    static MColor at(int i) { return MColor(0.1F * i, 0.5F, 1.0F); }
};

template <class A>
auto elements(const A& a) {
    using Element = std::remove_cvref_t<decltype(a[0])>;
    return std::vector<Element>(a.begin(), a.end());
}

template <class A>
auto samples(std::initializer_list<int> ids) {
    using Element = decltype(Sample<A>::at(0));
    std::vector<Element> v;
    for (int i : ids) v.push_back(Sample<A>::at(i));
    return v;
}

}  // namespace

template <class A>
class ArrayInterface : public testing::Test {};

using AllValueArrays =
    testing::Types<MIntArray, MUintArray, MFloatArray, MDoubleArray, MPointArray, MFloatPointArray,
                   MVectorArray, MFloatVectorArray, MColorArray>;
TYPED_TEST_SUITE(ArrayInterface, AllValueArrays);

TYPED_TEST(ArrayInterface, BoundsChecksLeaveTheArrayUnchanged) {
    using A = TypeParam;
    auto s = [](int i) { return Sample<A>::at(i); };
    A a;
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(a.append(s(i)));
    EXPECT_FALSE(a.set(s(9), 4));
    EXPECT_FALSE(a.insert(s(9), 5));
    EXPECT_FALSE(a.remove(4));
    EXPECT_EQ(elements(a), samples<A>({0, 1, 2, 3}));
}

TYPED_TEST(ArrayInterface, EditsKeepTheOrder) {
    using A = TypeParam;
    auto s = [](int i) { return Sample<A>::at(i); };
    A a;
    for (int i = 0; i < 4; ++i) a.append(s(i));
    EXPECT_TRUE(a.insert(s(9), 2));
    EXPECT_TRUE(a.insert(s(8), 5));
    EXPECT_TRUE(a.remove(0));
    EXPECT_TRUE(a.set(s(7), 3));
    EXPECT_EQ(elements(a), samples<A>({1, 9, 2, 7, 8}));
    a[0] = s(6);
    EXPECT_EQ(a[0], s(6));
}

TYPED_TEST(ArrayInterface, CopiesAreIndependentAndBulkTransfersRoundTrip) {
    using A = TypeParam;
    auto s = [](int i) { return Sample<A>::at(i); };
    A a;
    for (int i = 0; i < 3; ++i) a.append(s(i));

    A b(a);
    b.remove(0);
    A c;
    c.copy(a);
    c.set(s(5), 0);
    EXPECT_EQ(elements(a), samples<A>({0, 1, 2}));
    EXPECT_EQ(elements(b), samples<A>({1, 2}));
    EXPECT_EQ(elements(c), samples<A>({5, 1, 2}));
    b = a;
    EXPECT_EQ(elements(b), elements(a));

    auto buffer = samples<A>({4, 4, 4});
    EXPECT_TRUE(a.get(buffer.data()));
    EXPECT_EQ(buffer, samples<A>({0, 1, 2}));
    const A fromBuffer(buffer.data(), 2);
    EXPECT_EQ(elements(fromBuffer), samples<A>({0, 1}));
    const A filled(3, s(5));
    EXPECT_EQ(elements(filled), samples<A>({5, 5, 5}));
}

TYPED_TEST(ArrayInterface, LengthChangesAndIteration) {
    using A = TypeParam;
    using Element = decltype(Sample<A>::at(0));
    A a(2);
    EXPECT_EQ(elements(a), std::vector<Element>(2, Element()));
    a.set(Sample<A>::at(1), 1);
    EXPECT_TRUE(a.setLength(4));
    EXPECT_EQ(a[1], Sample<A>::at(1));
    EXPECT_EQ(a[3], Element());
    EXPECT_TRUE(a.setLength(1));
    EXPECT_EQ(a.length(), 1u);
    unsigned int visited = 0;
    for (const auto& e : a) {
        EXPECT_EQ(e, Element());
        ++visited;
    }
    EXPECT_EQ(visited, 1u);
    a.setSizeIncrement(64);
    EXPECT_EQ(a.sizeIncrement(), 64u);
    EXPECT_TRUE(a.clear());
    EXPECT_EQ(a.length(), 0u);
    EXPECT_EQ(a.begin(), a.end());
    EXPECT_EQ(text(a), "[]");
}

TEST(ValueArrayConversions, RowsAndOtherPrecisions) {
    const float f[3] = {0.5F, 1.5F, -2.0F};
    MDoubleArray d(f, 3);
    EXPECT_EQ(d[2], -2.0);
    float back[3];
    d.set(0.1, 0);
    d.get(back);
    EXPECT_EQ(back[0], 0.1F);
    const double wide[2] = {0.1, 1e40};
    MFloatArray narrow(wide, 2);
    EXPECT_EQ(narrow[0], 0.1F);
    EXPECT_TRUE(std::isinf(narrow[1]));
    double widened[2];
    narrow.get(widened);
    EXPECT_EQ(widened[0], static_cast<double>(0.1F));

    MFloatPointArray fp(1);
    const double row[4] = {1, 2, 3, 4};
    EXPECT_TRUE(fp.set(row, 0));
    EXPECT_FALSE(fp.set(row, 1));
    EXPECT_TRUE(fp.set(0, 5.0F, 6.0F, 7.0F));
    EXPECT_EQ(fp[0], MFloatPoint(5, 6, 7, 1));
    fp.append(1.0F, 2.0F);
    EXPECT_EQ(fp[1], MFloatPoint(1, 2, 0, 1));
    double fpRows[2][4];
    fp.get(fpRows);
    EXPECT_EQ(fpRows[1][3], 1.0);

    MVectorArray vectors(2);
    const float v3[3] = {1, 2, 3};
    EXPECT_TRUE(vectors.set(v3, 1));
    EXPECT_FALSE(vectors.set(v3, 2));
    float vRows[2][3];
    vectors.get(vRows);
    EXPECT_EQ(vRows[1][2], 3.0F);
    const double fvRows[1][3] = {{0, 0, 1}};
    EXPECT_EQ(MFloatVectorArray(fvRows, 1)[0], MFloatVector::zAxis);

    const double colourRows[1][4] = {{0.25, 0.5, 0.75, 0.5}};
    MColorArray colours(colourRows, 1);
    EXPECT_EQ(colours[0], MColor(0.25F, 0.5F, 0.75F, 0.5F));
    colours.append(1.0F, 0.0F, 0.0F);
    float cRows[2][4];
    colours.get(cRows);
    EXPECT_EQ(cRows[1][0], 1.0F);
    EXPECT_EQ(cRows[1][3], 1.0F);
    EXPECT_FALSE(colours.set(2, 0.0F, 0.0F, 0.0F));

    MObjectArray objects(2);
    EXPECT_TRUE(objects[1].isNull());
    EXPECT_FALSE(objects.set(MObject(), 2));
    EXPECT_TRUE(objects.remove(0));
    EXPECT_EQ(objects.length(), 1u);
    EXPECT_EQ(text(objects), "[null]");
}

// ---------------------------------------------------------------- more rotation behaviour

TEST(MEulerRotationOrders, AssignmentKeepsTheOrderAndCompositionFollowsMatrices) {
    MEulerRotation r(0, 0, 0, MEulerRotation::kYZX);
    const MEulerRotation source(0.3, -0.7, 1.1, MEulerRotation::kXYZ);
    r = source.asMatrix();
    EXPECT_EQ(r.order, MEulerRotation::kYZX);
    EXPECT_TRUE(r.asMatrix().isEquivalent(source.asMatrix(), 1e-12));
    r = source.asQuaternion();
    EXPECT_EQ(r.order, MEulerRotation::kYZX);
    EXPECT_TRUE(r.asMatrix().isEquivalent(source.asMatrix(), 1e-12));

    const MEulerRotation other(-0.4, 0.2, 0.9, MEulerRotation::kZYX);
    const MEulerRotation both = source * other;
    EXPECT_EQ(both.order, MEulerRotation::kXYZ);
    EXPECT_TRUE(both.asMatrix().isEquivalent(source.asMatrix() * other.asMatrix(), 1e-12));

    // Small steps about an axis keep the angles continuous instead of jumping by turns.
    MEulerRotation spun(0, 0, 3.0);
    spun.incrementalRotateBy(MVector::zAxis, 0.5);
    EXPECT_TRUE(spun.isEquivalent(MEulerRotation(0, 0, 3.5), 1e-12)) << spun;
    EXPECT_TRUE(MEulerRotation(1e-12, -1e-12, 0).isZero());
    EXPECT_FALSE(MEulerRotation(1e-9, 0, 0).isZero());
}

TEST(MQuaternionRotation, LogExpConjugateAndInterpolationEnds) {
    const MQuaternion q(1.2, MVector(0, 3, 4));
    EXPECT_TRUE(q.log().exp().isEquivalent(q, 1e-14));
    EXPECT_TRUE(q.conjugate().isEquivalent(q.inverse(), 1e-15));
    const MQuaternion scaled = 3.0 * q;
    EXPECT_TRUE(scaled.normal().isEquivalent(q, 1e-15));
    // A non-unit quaternion still stands for its rotation.
    EXPECT_TRUE(scaled.asMatrix().isEquivalent(q.asMatrix(), 1e-14));

    EXPECT_TRUE(slerp(q, MQuaternion::identity, 0.0).isEquivalent(q, 1e-15));
    EXPECT_TRUE(slerp(q, MQuaternion::identity, 1.0).isEquivalent(MQuaternion::identity, 1e-15));
    // -q is the same rotation; interpolation takes the short way round.
    const MQuaternion a(0.2, MVector::zAxis), b(0.6, MVector::zAxis);
    EXPECT_TRUE(slerp(a, -b, 0.5)
                    .asMatrix()
                    .isEquivalent(MQuaternion(0.4, MVector::zAxis).asMatrix(), 1e-12));

    MQuaternion x;
    x.setToXAxis(0.7);
    EXPECT_TRUE(x.asMatrix().isEquivalent(MEulerRotation(0.7, 0, 0).asMatrix(), 1e-15));
    EXPECT_TRUE(x.asEulerRotation().isEquivalent(MEulerRotation(0.7, 0, 0), 1e-14));
}

TEST(MTransformationMatrixComposition, RelativeEditsAndRotationSpaces) {
    const MEulerRotation start(0.3, 0, 0);
    const MQuaternion turn(0.5, MVector::zAxis);

    MTransformationMatrix local;
    local.rotateTo(start);
    local.rotateBy(turn, MSpace::kTransform);
    EXPECT_TRUE(local.asMatrix().isEquivalent(turn.asMatrix() * start.asMatrix(), 1e-12));

    MTransformationMatrix world;
    world.rotateTo(start);
    MStatus status;
    world.rotateBy(turn, MSpace::kWorld, &status);
    EXPECT_TRUE(status);
    EXPECT_TRUE(world.asMatrix().isEquivalent(start.asMatrix() * turn.asMatrix(), 1e-12));

    MTransformationMatrix tm;
    const double twice[3] = {2, 2, 2}, threeX[3] = {3, 1, 1}, shear[3] = {0.1, 0, 0};
    tm.setScale(twice, MSpace::kTransform);
    tm.addScale(threeX, MSpace::kTransform);
    tm.addShear(shear, MSpace::kTransform);
    tm.addShear(shear, MSpace::kTransform);
    tm.setTranslation(MVector(1, 2, 3), MSpace::kTransform);
    tm.addTranslation(MVector(1, 1, 1), MSpace::kWorld);
    double s[3], sh[3];
    tm.getScale(s, MSpace::kTransform);
    tm.getShear(sh, MSpace::kTransform);
    EXPECT_EQ(s[0], 6.0);
    EXPECT_EQ(s[1], 2.0);
    EXPECT_DOUBLE_EQ(sh[0], 0.2);
    EXPECT_EQ(tm.getTranslation(MSpace::kWorld), MVector(2, 3, 4));

    tm.setRotationQuaternion(turn.x, turn.y, turn.z, turn.w);
    double qx, qy, qz, qw;
    tm.getRotationQuaternion(qx, qy, qz, qw);
    EXPECT_TRUE(MQuaternion(qx, qy, qz, qw).isEquivalent(turn, 1e-15));

    const double bad[3] = {1, 1, 1};
    const MMatrix before = tm.asMatrix();
    EXPECT_FALSE(tm.setRotation(bad, MTransformationMatrix::kLast));
    EXPECT_EQ(tm.asMatrix(), before);
}

TEST(MTransformationMatrixComposition, OrientationSitsBetweenScaleAndRotation) {
    MTransformationMatrix tm;
    const double scale[3] = {2, 1, 1};
    tm.setScale(scale, MSpace::kTransform);
    tm.setRotationOrientation(MQuaternion(kPi / 2, MVector::zAxis));
    const double rotation[3] = {kPi / 2, 0, 0};
    tm.setRotation(rotation, MTransformationMatrix::kXYZ);
    // x: scaled to 2x, oriented onto y, then the x turn takes y to z.
    EXPECT_TRUE((MPoint(1, 0, 0) * tm.asMatrix()).isEquivalent(MPoint(0, 0, 2), 1e-12));
    EXPECT_TRUE(tm.rotation().isEquivalent(MQuaternion(kPi / 2, MVector::xAxis), 1e-15));

    MTransformationMatrix same(tm), moved(tm);
    moved.setTranslation(MVector(0, 0, 1e-3), MSpace::kTransform);
    EXPECT_TRUE(same == tm);
    EXPECT_TRUE(moved.isEquivalent(tm, 1e-2));
    EXPECT_FALSE(moved.isEquivalent(tm));
}

TEST(MTransformationMatrixComposition, DegenerateMatricesDecomposeWithoutNaN) {
    MMatrix flat;
    flat[1][1] = 0.0;
    flat[3][0] = 5.0;
    const MTransformationMatrix tm(flat);
    double s[3], r[3];
    MTransformationMatrix::RotationOrder order;
    tm.getScale(s, MSpace::kTransform);
    tm.getRotation(r, order);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(std::isfinite(s[i])) << i;
        EXPECT_TRUE(std::isfinite(r[i])) << i;
    }
    EXPECT_TRUE(tm.asMatrix().isEquivalent(flat, 1e-15));
    MMatrix collapsed;
    for (int i = 0; i < 3; ++i) collapsed[i][i] = 0.0;
    EXPECT_TRUE(MTransformationMatrix(collapsed).asMatrix().isEquivalent(collapsed));
}

// ---------------------------------------------------------------- single precision

TEST(FloatValues, ConversionsAndOperationsMatchTheDoubleTypes) {
    const MPoint p(0.1, 0.2, 0.3, 1.0);
    const MFloatPoint fp(p);
    EXPECT_EQ(fp, MFloatPoint(0.1F, 0.2F, 0.3F));
    MFloatPoint cast;
    cast.setCast(MVector(1, 2, 3));
    EXPECT_EQ(cast, MFloatPoint(1, 2, 3, 1));
    EXPECT_EQ(MPoint(fp).x, static_cast<double>(0.1F));
    EXPECT_EQ(MVector(MFloatVector(1, 2, 3)), MVector(1, 2, 3));
    EXPECT_EQ(fp - MFloatPoint(0.1F, 0.2F, 0.3F), MFloatVector::zero);
    EXPECT_EQ(MFloatPoint(2, 4, 6, 2).cartesianize(), MFloatPoint(1, 2, 3));
    EXPECT_FLOAT_EQ(MFloatPoint(0, 0, 0).distanceTo(MFloatPoint(3, 4, 0)), 5.0F);

    const MFloatVector v(3, 4, 0);
    EXPECT_FLOAT_EQ(v.length(), 5.0F);
    EXPECT_EQ(v.normal(), MFloatVector(0.6F, 0.8F, 0));
    EXPECT_FLOAT_EQ(v * MFloatVector(1, 1, 1), 7.0F);
    EXPECT_TRUE(v.isParallel(v * -2.0F));
    EXPECT_FALSE(v.isParallel(MFloatVector(4, 3, 0)));

    const MFloatMatrix squash(
        fromRows({{1, 0, 0, 0}, {0, 4, 0, 0}, {0, 0, 1, 0}, {7, 8, 9, 1}}).matrix);
    EXPECT_EQ(MFloatVector(1, 1, 0) * squash, MFloatVector(1, 4, 0));
    EXPECT_TRUE(
        MFloatVector(1, -1, 0).transformAsNormal(squash).isEquivalent(MFloatVector(1, -0.25F, 0)));
    EXPECT_EQ(squash * MFloatPoint(1, 1, 1), MFloatPoint(1, 4, 1, 7 + 8 + 9 + 1));
    EXPECT_EQ(MFloatPoint(1, 1, 1) * squash, MFloatPoint(8, 12, 10, 1));
    EXPECT_FLOAT_EQ(squash.det4x4(), 4.0F);
    EXPECT_TRUE((squash * squash.adjoint()).isEquivalent(MFloatMatrix::identity * 4.0F));
}

TEST(MMatrixArithmetic, ElementwiseOperatorsAndAccess) {
    MMatrix m = kDense;
    m(0, 0) = 10.0;
    m[3][3] = -1.0;
    EXPECT_EQ(m.matrix[0][0], 10.0);
    EXPECT_EQ(m(3, 3), -1.0);
    EXPECT_EQ((m + m)(2, 1), 12.0);
    EXPECT_EQ((m - kDense)(0, 0), 9.0);
    EXPECT_EQ((2.0 * m)(1, 3), 16.0);
    m *= MMatrix::identity * 2.0;
    EXPECT_EQ(m(1, 1), 12.0);
    float f[4][4];
    kDense.get(f);
    EXPECT_EQ(f[2][1], 6.0F);
    EXPECT_EQ(MMatrix(f), kDense);
    EXPECT_EQ(m.setToIdentity(), MMatrix::identity);
    // The matrix on the left of a vector takes it as a column.
    EXPECT_EQ(kDense * MVector(1, 0, 0), MVector(1, 5, 2));
}

// ---------------------------------------------------------------- boxes, colours and units

TEST(MBoundingBoxExtent, EmptyBoxesAndHomogeneousPoints) {
    MBoundingBox box;
    box.transformUsing(translation(1, 1, 1));
    EXPECT_FALSE(box.contains(MPoint(1, 1, 1)));
    box.expand(MBoundingBox());
    EXPECT_EQ(box.width(), 0.0);
    box.expand(MBoundingBox(MPoint(0, 0, 0), MPoint(1, 1, 1)));
    EXPECT_EQ(box.max(), MPoint(1, 1, 1));
    // A point stands for its cartesian position.
    box.expand(MPoint(4, 4, 4, 2));
    EXPECT_EQ(box.max(), MPoint(2, 2, 2));
    EXPECT_TRUE(box.contains(MPoint(4, 4, 4, 2)));
    box.clear();
    EXPECT_FALSE(box.contains(MPoint::origin));
    EXPECT_EQ(box.center(), MPoint::origin);
}

TEST(MColorModels, ArithmeticAndInkModels) {
    const MColor c(0.2F, 0.4F, 0.6F, 1.0F);
    EXPECT_TRUE((c + c).isEquivalent(MColor(0.4F, 0.8F, 1.2F, 2.0F)));
    EXPECT_TRUE((c * MColor(0.5F, 0.5F, 0.5F, 0.5F)).isEquivalent(MColor(0.1F, 0.2F, 0.3F, 0.5F)));
    EXPECT_TRUE((2.0F * c / 4.0F).isEquivalent(MColor(0.1F, 0.2F, 0.3F, 0.5F)));
    EXPECT_EQ(c[2], 0.6F);

    float cy, m, y, k;
    ASSERT_TRUE(c.get(MColor::kCMYK, cy, m, y, k));
    EXPECT_NEAR(k, 0.4F, 1e-6F);
    const MColor back(MColor::kCMYK, cy, m, y, k);
    EXPECT_TRUE(back.isEquivalent(c)) << back;
    EXPECT_FALSE(c.get(MColor::kCMYK, cy, m, y));
    ASSERT_TRUE(c.get(MColor::kCMY, cy, m, y));
    EXPECT_NEAR(cy, 0.8F, 1e-6F);

    EXPECT_TRUE(MColor(MColor::kHSV, -120.0F, 1.0F, 1.0F).isEquivalent(MColor(0, 0, 1)));
    EXPECT_TRUE(MColor(MColor::kHSV, 480.0F, 1.0F, 1.0F).isEquivalent(MColor(0, 1, 0)));
    EXPECT_TRUE(
        MColor(MColor::kHSV, (unsigned short)32768, 0, 65535).isEquivalent(MColor(1, 1, 1)));
}

TEST(UnitValues, UserInterfaceUnitsAreHostWide) {
    ASSERT_TRUE(MDistance::setUIUnit(MDistance::kMeters));
    EXPECT_DOUBLE_EQ(MDistance::uiToInternal(2.0), 200.0);
    EXPECT_DOUBLE_EQ(MDistance::internalToUI(50.0), 0.5);
    EXPECT_FALSE(MDistance::setUIUnit(MDistance::kLast));
    EXPECT_EQ(MDistance::uiUnit(), MDistance::kMeters);
    ASSERT_TRUE(MDistance::setUIUnit(MDistance::kCentimeters));

    ASSERT_TRUE(MAngle::setUIUnit(MAngle::kRadians));
    EXPECT_DOUBLE_EQ(MAngle::internalToUI(1.5), 1.5);
    ASSERT_TRUE(MAngle::setUIUnit(MAngle::kDegrees));
    EXPECT_DOUBLE_EQ(MAngle::internalToUI(kPi), 180.0);

    MDistance d(3.0, MDistance::kYards);
    EXPECT_TRUE(d.setUnit(MDistance::kFeet));
    EXPECT_EQ(d.value(), 3.0);
    EXPECT_DOUBLE_EQ(d.asInches(), 36.0);
    EXPECT_EQ(MDistance(1.0, MDistance::kInvalid).asMeters(), 0.0);
}
