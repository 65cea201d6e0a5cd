#pragma once
// The "PlexwendViewport" render override: each frame the scene, the cut-mesh
// overlay, the HUD with its label, and the present, in that order.

#include <maya/MString.h>
#include <maya/MViewport2Renderer.h>

#include "viewport/OverrideParameters.h"

class MSceneRenderTester;
class MUserRenderOperationTester;
class MHUDRenderTester;

class MRenderOverrideTester : public MHWRender::MRenderOverride {
public:
    static constexpr unsigned int kOperationCount = 4;

    explicit MRenderOverrideTester(const MString& name);
    ~MRenderOverrideTester() override;
    MRenderOverrideTester(const MRenderOverrideTester&) = delete;
    MRenderOverrideTester& operator=(const MRenderOverrideTester&) = delete;

    MHWRender::DrawAPI supportedDrawAPIs() const override;
    bool startOperationIterator() override;
    MHWRender::MRenderOperation* renderOperation() override;
    bool nextRenderOperation() override;
    MString uiName() const override;
    MStatus setup(const MString& destination) override;
    MStatus cleanup() override;

    const OverrideParameters& parameters() const { return mParameters; }
    //! Takes effect at the next frame's setup.
    void setParameters(const OverrideParameters& parameters) { mParameters = parameters; }

    const MSceneRenderTester& sceneOperation() const { return *mScene; }
    const MUserRenderOperationTester& userOperation() const { return *mUser; }
    const MHUDRenderTester& hudOperation() const { return *mHud; }
    const MHWRender::MPresentTarget& presentTarget() const { return *mPresent; }
    //! The stock shader handed to the scene pass when shading is overridden;
    //! null until a frame's setup could get one.
    const MHWRender::MShaderInstance* shader() const { return mShader; }

private:
    void ensureShader();
    MStatus configureOperations();

    MString mUIName{"Plexwend Viewport"};
    OverrideParameters mParameters;
    MHWRender::MShaderInstance* mShader = nullptr;
    unsigned int mCurrentOperation = 0;
    MSceneRenderTester* mScene;
    MUserRenderOperationTester* mUser;
    MHUDRenderTester* mHud;
    MHWRender::MPresentTarget* mPresent;
};
