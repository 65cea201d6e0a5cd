#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>

class MEulerRotation;
class MMatrix;
class MPoint;
class MQuaternion;
class MVector;

#define MTransformationMatrix_kTol 1.0e-10

//! A transformation kept as its components, composed (row vectors) as
//!   [Sp^-1 S Sh Sp St] [Rp^-1 Ra R Rp Rt] T
//! with scale pivot Sp, scale S, shear Sh, scale pivot translation St, rotate
//! pivot Rp, rotation orientation Ra, rotation R (Euler angles in the rotation
//! order), rotate pivot translation Rt and translation T.
//! A standalone transformation has no parent, so the space arguments of the
//! component accessors all name the same values.
class OPENMAYA_EXPORT MTransformationMatrix {
public:
    //! Numbered one above MEulerRotation::RotationOrder.
    enum RotationOrder { kInvalid, kXYZ, kYZX, kZXY, kXZY, kYXZ, kZYX, kLast };

    MTransformationMatrix() = default;
    MTransformationMatrix(const MTransformationMatrix&) = default;
    //! Decomposed into translation, rotation (order kXYZ), shear and scale.
    MTransformationMatrix(const MMatrix& matrix);
    ~MTransformationMatrix() = default;

    MTransformationMatrix& operator=(const MTransformationMatrix&) = default;
    //! Decomposed in the current rotation order; pivots and orientation are reset.
    MTransformationMatrix& operator=(const MMatrix& matrix);

    MMatrix asMatrix() const;
    //! Every component taken percent of the way from the identity.
    MMatrix asMatrix(double percent) const;
    MMatrix asMatrixInverse() const;
    MMatrix asScaleMatrix() const;
    MMatrix asRotateMatrix() const;

    MStatus getScale(double scale[3], MSpace::Space space) const;
    MStatus setScale(const double scale[3], MSpace::Space space);
    //! Multiplies the current scale.
    MStatus addScale(const double scale[3], MSpace::Space space);

    MQuaternion rotation() const;
    MEulerRotation eulerRotation() const;
    //! Takes the quaternion's rotation, in the current rotation order.
    MTransformationMatrix& rotateTo(const MQuaternion& q, MSpace::Space space = MSpace::kTransform);
    //! Takes the angles and the order of rotation.
    MTransformationMatrix& rotateTo(const MEulerRotation& rotation,
                                    MSpace::Space space = MSpace::kTransform);
    //! Object (transform) space turns before the current rotation, world space after it.
    MTransformationMatrix& rotateBy(const MQuaternion& q, MSpace::Space space,
                                    MStatus* ReturnStatus = NULL);
    MTransformationMatrix& rotateBy(const MEulerRotation& rotation, MSpace::Space space,
                                    MStatus* ReturnStatus = NULL);
    MStatus getRotationQuaternion(double& x, double& y, double& z, double& w,
                                  MSpace::Space space = MSpace::kTransform) const;
    MStatus setRotationQuaternion(double x, double y, double z, double w,
                                  MSpace::Space space = MSpace::kTransform);
    MStatus addRotationQuaternion(double x, double y, double z, double w,
                                  MSpace::Space space = MSpace::kTransform);
    MStatus getRotation(double rotation[3], RotationOrder& order,
                        MSpace::Space space = MSpace::kTransform) const;
    MStatus setRotation(const double rotation[3], RotationOrder order,
                        MSpace::Space space = MSpace::kTransform);
    MStatus addRotation(const double rotation[3], RotationOrder order,
                        MSpace::Space space = MSpace::kTransform);
    RotationOrder rotationOrder(MStatus* ReturnStatus = NULL) const;
    //! With preserve the angles change so that the rotation stays the same.
    MStatus setRotationOrder(RotationOrder order, bool preserve);
    MStatus reorderRotation(const RotationOrder& order);
    MQuaternion rotationOrientation() const;
    MTransformationMatrix& setRotationOrientation(const MQuaternion& q);

    MVector getTranslation(MSpace::Space space, MStatus* ReturnStatus = NULL) const;
    MStatus setTranslation(const MVector& vector, MSpace::Space space);
    MStatus addTranslation(const MVector& vector, MSpace::Space space);
    MStatus setShear(const double shear[3], MSpace::Space space);
    MStatus getShear(double shear[3], MSpace::Space space) const;
    MStatus addShear(const double shear[3], MSpace::Space space);

    MPoint scalePivot(MSpace::Space space, MStatus* ReturnStatus = NULL) const;
    //! With balance the scale pivot translation compensates, so the matrix stays the same.
    MStatus setScalePivot(const MPoint& point, MSpace::Space space, bool balance);
    MVector scalePivotTranslation(MSpace::Space space, MStatus* ReturnStatus = NULL) const;
    MStatus setScalePivotTranslation(const MVector& vector, MSpace::Space space);
    MPoint rotatePivot(MSpace::Space space, MStatus* ReturnStatus = NULL) const;
    //! With balance the rotate pivot translation compensates, so the matrix stays the same.
    MStatus setRotatePivot(const MPoint& point, MSpace::Space space, bool balance);
    MVector rotatePivotTranslation(MSpace::Space space, MStatus* ReturnStatus = NULL) const;
    MStatus setRotatePivotTranslation(const MVector& vector, MSpace::Space space);

    //! Compares the composed matrices.
    bool isEquivalent(const MTransformationMatrix& other,
                      double tolerance = MTransformationMatrix_kTol) const;
    bool operator==(const MTransformationMatrix& other) const;
    bool operator!=(const MTransformationMatrix& other) const { return !(*this == other); }

    static const MTransformationMatrix identity;

private:
    double translate_[3] = {0, 0, 0};
    double rotate_[3] = {0, 0, 0};
    RotationOrder order_ = kXYZ;
    double scale_[3] = {1, 1, 1};
    double shear_[3] = {0, 0, 0};
    double orientation_[4] = {0, 0, 0, 1};
    double scalePivot_[3] = {0, 0, 0};
    double scalePivotTranslate_[3] = {0, 0, 0};
    double rotatePivot_[3] = {0, 0, 0};
    double rotatePivotTranslate_[3] = {0, 0, 0};
};
