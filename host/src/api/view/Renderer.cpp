#include <maya/MViewport2Renderer.h>

#include "host/src/dg/Api.h"
#include "host/src/plugin/Plugin.h"
#include "host/src/plugin/Refusal.h"
#include "host/src/view/Views.h"

using ehost::api::fail;

namespace MHWRender {

// ---------------------------------------------------------------- MRenderer

MRenderer* MRenderer::theRenderer(bool) {
    // The host's documented singleton; it keeps no state (the session's views do).
    static MRenderer renderer;
    return &renderer;
}

void MRenderer::setGeometryDrawDirty(MObject obj, bool) {
    auto node = ehost::ApiAccess::as<ehost::Node>(obj);
    if (!node) return;
    if (ehost::DrawOverrides::Instance* i = ehost::theViews().drawOverrides().find(*node))
        ++i->dirtyMarks;
}

void MRenderer::setLightsAndShadowsDirty() {}

MStatus MRenderer::registerOverride(const MRenderOverride* override) {
    if (!override) return fail(MStatus::kInvalidParameter, "no render override given");
    if (ehost::isRefused(ehost::RegistrationKind::RenderOverride, override->name().str()))
        return fail(MStatus::kFailure,
                    "the host refused to register render override " + override->name().str());
    ehost::Plugin* plugin = ehost::pluginBeingLoaded();
    return ehost::theViews().renderOverrides().add(override, plugin ? plugin->info.name : "");
}

MStatus MRenderer::deregisterOverride(const MRenderOverride* override) {
    if (!override) return fail(MStatus::kInvalidParameter, "no render override given");
    return ehost::theViews().removeRenderOverride(override);
}

const MRenderOverride* MRenderer::findRenderOverride(const MString& name) {
    return ehost::theViews().renderOverrides().find(name.str());
}

MString MRenderer::activeRenderOverride() const {
    return MString(ehost::theViews().activePanel().renderer);
}

const MShaderManager* MRenderer::getShaderManager() const {
    // The host's documented singleton; the shaders it hands out are the session's.
    static MShaderManager manager;
    return &manager;
}

DrawAPI MRenderer::drawAPI() const {
    return kOpenGLCoreProfile;
}
bool MRenderer::drawAPIIsOpenGL() const {
    return true;
}
unsigned int MRenderer::drawAPIVersion() const {
    return 4;
}

MColor MRenderer::clearColor() const {
    return ehost::ClearState().top;
}
MColor MRenderer::clearColor2() const {
    return ehost::ClearState().bottom;
}
bool MRenderer::useGradient() const {
    return ehost::ClearState().gradient;
}

// ---------------------------------------------------------------- MRenderOverride

MRenderOverride::MRenderOverride(const MString& name) : mName(name) {}
MRenderOverride::~MRenderOverride() = default;
DrawAPI MRenderOverride::supportedDrawAPIs() const {
    return kOpenGL;
}
bool MRenderOverride::startOperationIterator() {
    return false;
}
MRenderOperation* MRenderOverride::renderOperation() {
    return nullptr;
}
bool MRenderOverride::nextRenderOperation() {
    return false;
}
MStatus MRenderOverride::setup(const MString&) {
    return MStatus::kSuccess;
}
MStatus MRenderOverride::cleanup() {
    return MStatus::kSuccess;
}
MString MRenderOverride::uiName() const {
    return mName;
}
const MString& MRenderOverride::name() const {
    return mName;
}

// ---------------------------------------------------------------- operations

MRenderOperation::MRenderOperation(const MString& name) : mName(name) {}
MRenderOperation::~MRenderOperation() = default;

MRenderTarget* const* MRenderOperation::targetOverrideList(unsigned int& listSize) {
    listSize = 0;
    return nullptr;
}

bool MRenderOperation::enableSRGBWrite() {
    return false;
}
const MFloatPoint* MRenderOperation::viewportRectangleOverride() {
    return nullptr;
}
const MString& MRenderOperation::name() const {
    return mName;
}
MRenderOperation::MRenderOperationType MRenderOperation::operationType() const {
    return mOperationType;
}

MClearOperation::MClearOperation(const MString& name) : MRenderOperation(name) {
    mOperationType = kClear;
    // A clear does what the viewport's background does until told otherwise.
    ehost::ClearState background;
    background.top.get(color_);
    background.bottom.get(color2_);
    gradient_ = background.gradient;
}

MClearOperation::~MClearOperation() = default;
unsigned int MClearOperation::mask() const {
    return mask_;
}
const float* MClearOperation::clearColor() const {
    return color_;
}
const float* MClearOperation::clearColor2() const {
    return color2_;
}
bool MClearOperation::clearGradient() const {
    return gradient_;
}
int MClearOperation::clearStencil() const {
    return stencil_;
}
float MClearOperation::clearDepth() const {
    return depth_;
}
void MClearOperation::setMask(unsigned int mask) {
    mask_ = mask;
}

void MClearOperation::setClearColor(MFloatPoint value) {
    color_[0] = value.x;
    color_[1] = value.y;
    color_[2] = value.z;
    color_[3] = value.w;
}

void MClearOperation::setClearColor2(MFloatPoint value) {
    color2_[0] = value.x;
    color2_[1] = value.y;
    color2_[2] = value.z;
    color2_[3] = value.w;
}

void MClearOperation::setClearGradient(bool value) {
    gradient_ = value;
}
void MClearOperation::setClearStencil(int value) {
    stencil_ = value;
}
void MClearOperation::setClearDepth(float value) {
    depth_ = value;
}

MSceneRender::MSceneRender(const MString& name)
    : MRenderOperation(name), mClearOperation(name + "_clear") {
    mOperationType = kSceneRender;
}

MSceneRender::~MSceneRender() = default;
MSceneRender::MSceneFilterOption MSceneRender::renderFilterOverride() {
    return kNoSceneFilterOverride;
}
MSceneRender::MObjectTypeExclusions MSceneRender::objectTypeExclusions() {
    return kExcludeNone;
}
const MSelectionList* MSceneRender::objectSetOverride() {
    return nullptr;
}
const MShaderInstance* MSceneRender::shaderOverride() {
    return nullptr;
}
MSceneRender::MDisplayMode MSceneRender::displayModeOverride() {
    return kNoDisplayModeOverride;
}
MSceneRender::MLightingMode MSceneRender::lightModeOverride() {
    return kNoLightingModeOverride;
}
MSceneRender::MCullingOption MSceneRender::cullingOverride() {
    return kNoCullingOverride;
}
void MSceneRender::preRender() {}
void MSceneRender::postRender() {}
void MSceneRender::preSceneRender(const MDrawContext&) {}
void MSceneRender::postSceneRender(const MDrawContext&) {}
MClearOperation& MSceneRender::clearOperation() {
    return mClearOperation;
}
bool MSceneRender::hasUIDrawables() const {
    return false;
}
void MSceneRender::addPreUIDrawables(MUIDrawManager&, const MFrameContext&) {}
void MSceneRender::addPostUIDrawables(MUIDrawManager&, const MFrameContext&) {}

MUserRenderOperation::MUserRenderOperation(const MString& name) : MRenderOperation(name) {
    mOperationType = kUserDefined;
}

MUserRenderOperation::~MUserRenderOperation() = default;
bool MUserRenderOperation::hasUIDrawables() const {
    return false;
}
void MUserRenderOperation::addUIDrawables(MUIDrawManager&, const MFrameContext&) {}
bool MUserRenderOperation::requiresLightData() const {
    return false;
}
bool MUserRenderOperation::requiresResetDeviceStates() const {
    return false;
}

MHUDRender::MHUDRender() : MRenderOperation(MString("HUDRender")) {
    mOperationType = kHUDRender;
}
MHUDRender::~MHUDRender() = default;
bool MHUDRender::hasUIDrawables() const {
    return false;
}
void MHUDRender::addUIDrawables(MUIDrawManager&, const MFrameContext&) {}

MPresentTarget::MPresentTarget(const MString& name) : MRenderOperation(name) {
    mOperationType = kPresentTarget;
}
MPresentTarget::~MPresentTarget() = default;
bool MPresentTarget::presentDepth() const {
    return presentDepth_;
}
void MPresentTarget::setPresentDepth(bool value) {
    presentDepth_ = value;
}
MPresentTarget::MTargetBackBuffer MPresentTarget::targetBackBuffer() const {
    return backBuffer_;
}
void MPresentTarget::setTargetBackBuffer(MTargetBackBuffer backBuffer) {
    backBuffer_ = backBuffer;
}

}  // namespace MHWRender
