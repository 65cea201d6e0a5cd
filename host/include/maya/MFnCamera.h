#pragma once
#include <maya/MDagPath.h>
#include <maya/MFloatMatrix.h>
#include <maya/MFnDagNode.h>
#include <maya/MPoint.h>
#include <maya/MVector.h>

//! Reads and edits a camera shape: where it looks from and to, its up
//! direction and field of view. Positions and directions are given in the
//! camera's object space or, with MSpace::kWorld, in world space (through the
//! transforms above the camera).
class OPENMAYA_EXPORT MFnCamera : public MFnDagNode {
public:
    MFnCamera() = default;
    MFnCamera(const MObject& object, MStatus* ReturnStatus = NULL);
    MFnCamera(const MDagPath& object, MStatus* ReturnStatus = NULL);
    MFn::Type type() const override { return MFn::kCamera; }

    //! Makes a camera shape under a new transform (returned) or under parent.
    MObject create(MStatus* ReturnStatus = NULL);
    MObject create(MObject& parent, MStatus* ReturnStatus = NULL);

    MPoint eyePoint(MSpace::Space space = MSpace::kObject, MStatus* ReturnStatus = NULL) const;
    MVector viewDirection(MSpace::Space space = MSpace::kObject,
                          MStatus* ReturnStatus = NULL) const;
    //! The up direction, made perpendicular to the view direction.
    MVector upDirection(MSpace::Space space = MSpace::kObject, MStatus* ReturnStatus = NULL) const;
    MVector rightDirection(MSpace::Space space = MSpace::kObject,
                           MStatus* ReturnStatus = NULL) const;
    MPoint centerOfInterestPoint(MSpace::Space space = MSpace::kObject,
                                 MStatus* ReturnStatus = NULL) const;
    double centerOfInterest(MStatus* ReturnStatus = NULL) const;

    MStatus set(const MPoint& wsEyeLocation, const MVector& wsViewDirection,
                const MVector& wsUpDirection, double horizFieldOfView, double aspectRatio);
    MStatus setEyePoint(const MPoint& eyeLocation, MSpace::Space space = MSpace::kObject);
    MStatus setCenterOfInterestPoint(const MPoint& centerOfInterest,
                                     MSpace::Space space = MSpace::kObject);
    MStatus setCenterOfInterest(double dist);
    MStatus setUpDirection(const MVector& up, MSpace::Space space = MSpace::kObject);

    //! Angles in radians. The vertical field of view is the camera's own;
    //! the horizontal one follows from it and the aspect ratio.
    double verticalFieldOfView(MStatus* ReturnStatus = NULL) const;
    double horizontalFieldOfView(MStatus* ReturnStatus = NULL) const;
    MStatus setVerticalFieldOfView(double fov);
    MStatus setHorizontalFieldOfView(double fov);
    MStatus getPortFieldOfView(int width, int height, double& horizontalFOV,
                               double& verticalFOV) const;
    double aspectRatio(MStatus* ReturnStatus = NULL) const;
    MStatus setAspectRatio(double aspectRatio);

    bool isOrtho(MStatus* ReturnStatus = NULL) const;
    MStatus setIsOrtho(bool orthoState, double useDist = 0.0);
    double orthoWidth(MStatus* ReturnStatus = NULL) const;
    MStatus setOrthoWidth(double orthoWidth);
    double nearClippingPlane(MStatus* ReturnStatus = NULL) const;
    double farClippingPlane(MStatus* ReturnStatus = NULL) const;
    MStatus setNearClippingPlane(double dNear);
    MStatus setFarClippingPlane(double dFar);

    //! The projection matrix for the camera's own aspect ratio.
    MFloatMatrix projectionMatrix(MStatus* ReturnStatus = NULL) const;
};
