#include <maya/MDrawContext.h>
#include <maya/MFrameContext.h>

#include "host/src/dg/Api.h"
#include "host/src/view/Panel.h"

using ehost::api::fail;
using ehost::api::setStatus;

namespace MHWRender {

namespace {

MDoubleArray tuple(std::initializer_list<double> values) {
    MDoubleArray out;
    for (double v : values) out.append(v);
    return out;
}

MDoubleArray tuple(const ehost::Vec3& v) {
    return tuple({v.x, v.y, v.z});
}

}  // namespace

MMatrix MFrameContext::getMatrix(MatrixType mtype, MStatus* ReturnStatus) const {
    const ehost::ViewFrame& v = impl_->view;
    MMatrix view = v.viewMatrix(), projection = v.projectionMatrix();
    // Nothing is being drawn by the frame itself: world is the identity.
    MMatrix m;
    switch (mtype / 4) {
        case 0:
            m = MMatrix();
            break;
        case 1:
            m = view;
            break;
        case 2:
            m = projection;
            break;
        case 3:
            m = view * projection;
            break;
        case 4:
            m = view;
            break;
        case 5:
            m = view * projection;
            break;
        default:
            setStatus(ReturnStatus, fail(MStatus::kInvalidParameter, "unknown matrix type"));
            return MMatrix();
    }
    // Each group of four: the matrix, its transpose, inverse, inverse transpose.
    switch (mtype % 4) {
        case 1:
            m = m.transpose();
            break;
        case 2:
            m = m.inverse();
            break;
        case 3:
            m = m.inverse().transpose();
            break;
        default:
            break;
    }
    setStatus(ReturnStatus, MStatus::kSuccess);
    return m;
}

MDoubleArray MFrameContext::getTuple(TupleType ttype, MStatus* ReturnStatus) const {
    const ehost::ViewFrame& v = impl_->view;
    setStatus(ReturnStatus, MStatus::kSuccess);
    switch (ttype) {
        case kViewPosition:
            return tuple(v.eye());
        case kViewDirection:
            return tuple(v.forward());
        case kViewUp:
            return tuple(v.up());
        case kViewRight:
            return tuple(v.right());
        case kViewUnnormlizedNearClipValue:
        case kViewNearClipValue:
            return tuple({v.nearClip()});
        case kViewUnnormalizedFarClipValue:
        case kViewFarClipValue:
            return tuple({v.farClip()});
        case kViewColorTransformEnabled:
            return tuple({0});
        case kProjectionScreenOffset:
            return tuple({0, 0});
    }
    setStatus(ReturnStatus, fail(MStatus::kInvalidParameter, "unknown tuple type"));
    return MDoubleArray();
}

MStatus MFrameContext::getViewportDimensions(int& originX, int& originY, int& width,
                                             int& height) const {
    originX = 0;
    originY = 0;
    width = impl_->view.width();
    height = impl_->view.height();
    return MStatus::kSuccess;
}

MDagPath MFrameContext::getCurrentCameraPath(MStatus* ReturnStatus) const {
    MDagPath path;
    if (!impl_->camera) {
        setStatus(ReturnStatus, fail(MStatus::kFailure, "the frame has no camera"));
        return path;
    }
    ehost::ApiAccess::impl(path).node = impl_->camera;
    setStatus(ReturnStatus, MStatus::kSuccess);
    return path;
}

unsigned int MFrameContext::getDisplayStyle() const {
    return kGouraudShaded | kWireFrame;
}
MFrameContext::LightingMode MFrameContext::getLightingMode() const {
    return kLightDefault;
}
unsigned int MFrameContext::getLightLimit() const {
    return 8;
}

MFrameContext::RenderingDestination MFrameContext::renderingDestination(
    MString& destinationName) const {
    destinationName = impl_->panel;
    return k3dViewport;
}

bool MFrameContext::inUserInteraction() {
    return false;
}
bool MFrameContext::userChangingViewContext() {
    return false;
}

MStatus MDrawContext::getRenderTargetSize(int& width, int& height) const {
    width = impl_->view.width();
    height = impl_->view.height();
    return MStatus::kSuccess;
}

MStatus MDrawContext::getDepthRange(float& nearDepth, float& farDepth) const {
    nearDepth = static_cast<float>(impl_->view.nearClip());
    farDepth = static_cast<float>(impl_->view.farClip());
    return MStatus::kSuccess;
}

}  // namespace MHWRender
