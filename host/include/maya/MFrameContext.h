#pragma once
#include <maya/MDagPath.h>
#include <maya/MDoubleArray.h>
#include <maya/MMatrix.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

namespace ehost {
struct ApiAccess;
struct FrameInfo;
}  // namespace ehost

namespace MHWRender {

//! What is being drawn in the current frame: the viewport, its camera and
//! its matrices. Handed by the host to draw overrides, tool contexts and
//! render operations.
class OPENMAYARENDER_EXPORT MFrameContext {
public:
    enum MatrixType {
        kWorldMtx,
        kWorldTransposeMtx,
        kWorldInverseMtx,
        kWorldTranspInverseMtx,
        kViewMtx,
        kViewTransposeMtx,
        kViewInverseMtx,
        kViewTranspInverseMtx,
        kProjectionMtx,
        kProjectionTranposeMtx,
        kProjectionInverseMtx,
        kProjectionTranspInverseMtx,
        kViewProjMtx,
        kViewProjTransposeMtx,
        kViewProjInverseMtx,
        kViewProjTranspInverseMtx,
        kWorldViewMtx,
        kWorldViewTransposeMtx,
        kWorldViewInverseMtx,
        kWorldViewTranspInverseMtx,
        kWorldViewProjMtx,
        kWorldViewProjTransposeMtx,
        kWorldViewProjInverseMtx,
        kWorldViewProjTranspInverseMtx
    };
    enum TupleType {
        kViewPosition,
        kViewDirection,
        kViewUp,
        kViewRight,
        kViewUnnormlizedNearClipValue,
        kViewUnnormalizedFarClipValue,
        kViewNearClipValue,
        kViewFarClipValue,
        kViewColorTransformEnabled,
        kProjectionScreenOffset
    };
    enum DisplayStyle {
        kGouraudShaded = 1 << 0,
        kWireFrame = 1 << 1,
        kBoundingBox = 1 << 2,
        kTextured = 1 << 3,
        kDefaultMaterial = 1 << 4,
        kXrayJoint = 1 << 5,
        kXray = 1 << 6,
        kTwoSidedLighting = 1 << 7,
        kFlatShaded = 1 << 8,
        kShadeActiveOnly = 1 << 9,
        kXrayActiveComponents = 1 << 10,
        kBackfaceCulling = 1 << 11,
        kSmoothWireframe = 1 << 12
    };
    enum LightingMode {
        kNoLighting,
        kAmbientLight,
        kLightDefault,
        kSelectedLights,
        kSceneLights,
        kCustomLights
    };
    enum RenderingDestination { k3dViewport, k2dViewport, kImage };

    //! Made by the host only, for the frame it is drawing.
    explicit MFrameContext(const ehost::FrameInfo& frame) : impl_(&frame) {}
    MFrameContext(const MFrameContext&) = delete;
    MFrameContext& operator=(const MFrameContext&) = delete;
    virtual ~MFrameContext() = default;

    //! The matrices of the frame; "world" is the identity here (no object is
    //! being drawn by the frame itself).
    MMatrix getMatrix(MatrixType mtype, MStatus* ReturnStatus = NULL) const;
    //! Eye position, view, up and right directions, clip values.
    MDoubleArray getTuple(TupleType ttype, MStatus* ReturnStatus = NULL) const;
    MStatus getViewportDimensions(int& originX, int& originY, int& width, int& height) const;
    //! The camera shape the frame is drawn through.
    MDagPath getCurrentCameraPath(MStatus* ReturnStatus = NULL) const;
    unsigned int getDisplayStyle() const;
    LightingMode getLightingMode() const;
    unsigned int getLightLimit() const;
    RenderingDestination renderingDestination(MString& destinationName) const;

    static bool inUserInteraction();
    static bool userChangingViewContext();

protected:
    friend struct ehost::ApiAccess;
    const ehost::FrameInfo* impl_;
};

}  // namespace MHWRender
