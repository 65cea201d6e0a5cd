#include "viewport/MRenderOverrideTester.h"

#include "viewport/MHUDRenderTester.h"
#include "viewport/MSceneRenderTester.h"
#include "viewport/MUserRenderOperationTester.h"
#include "viewport/NoThrow.h"

using MHWRender::MRenderer;
using MHWRender::MShaderManager;

MRenderOverrideTester::MRenderOverrideTester(const MString& name)
    : MRenderOverride(name),
      mScene(new MSceneRenderTester("Scene Render 1")),
      mUser(new MUserRenderOperationTester("User Operation 1")),
      mHud(new MHUDRenderTester()),
      mPresent(new MHWRender::MPresentTarget("Present Target")) {}

MRenderOverrideTester::~MRenderOverrideTester() {
    MRenderer* renderer = MRenderer::theRenderer();
    const MShaderManager* shaders = renderer ? renderer->getShaderManager() : nullptr;
    if (shaders && mShader) shaders->releaseShader(mShader);
    mShader = nullptr;
    delete mScene;
    delete mUser;
    delete mHud;
    delete mPresent;
}

MHWRender::DrawAPI MRenderOverrideTester::supportedDrawAPIs() const {
    return MHWRender::kAllDevices;
}

bool MRenderOverrideTester::startOperationIterator() {
    mCurrentOperation = 0;
    return true;
}

MHWRender::MRenderOperation* MRenderOverrideTester::renderOperation() {
    switch (mCurrentOperation) {
        case 0:
            return mScene;
        case 1:
            return mUser;
        case 2:
            return mHud;
        case 3:
            return mPresent;
        default:
            return nullptr;
    }
}

bool MRenderOverrideTester::nextRenderOperation() {
    ++mCurrentOperation;
    return mCurrentOperation < kOperationCount;
}

MString MRenderOverrideTester::uiName() const {
    return mUIName;
}

void MRenderOverrideTester::ensureShader() {
    if (mShader) return;
    MRenderer* renderer = MRenderer::theRenderer();
    const MShaderManager* shaders = renderer ? renderer->getShaderManager() : nullptr;
    if (!shaders) return;
    mShader = shaders->getStockShader(MShaderManager::k3dBlinnShader);
    if (!mShader) return;
    const float yellow[4] = {1.0f, 1.0f, 0.0f, 1.0f};
    mShader->setParameter("diffuseColor", yellow);
}

MStatus MRenderOverrideTester::setup(const MString&) {
    return failureOnThrow([&] { return configureOperations(); });
}

MStatus MRenderOverrideTester::configureOperations() {
    if (mScene) {
        ensureShader();
        mScene->setShader(mParameters.shaderOverride ? mShader : nullptr);
        mScene->setClearMask(mParameters.clearMask);
        mScene->setSceneFilter(mParameters.sceneFilter);
        mScene->setObjectSetName(mParameters.objectSet);
        mScene->setSceneUIDrawables(mParameters.sceneUIDrawables);
        mScene->setViewportRectangle(mParameters.viewportRectangle);
    }
    if (mUser) {
        mUser->setUserUIDrawables(mParameters.userUIDrawables);
        mUser->setUserUILightData(mParameters.userUILightData);
        mUser->setViewportRectangle(mParameters.viewportRectangle);
    }
    if (mHud) {
        mHud->setViewportRectangle(mParameters.viewportRectangle);
        mHud->setUserUIDrawables(mParameters.userUIDrawables);
    }
    mPresent->setPresentDepth(mParameters.presentDepth);
    return MStatus::kSuccess;
}

MStatus MRenderOverrideTester::cleanup() {
    return MStatus::kSuccess;
}
