#pragma once
// The override's HUD pass: the host's heads-up display and the renderer's label.

#include <maya/MString.h>
#include <maya/MViewport2Renderer.h>

class MHUDRenderTester : public MHWRender::MHUDRender {
public:
    MHUDRenderTester() = default;
    ~MHUDRenderTester() override = default;

    bool hasUIDrawables() const override { return mUserUIDrawables; }
    void addUIDrawables(MHWRender::MUIDrawManager& drawManager2D,
                        const MHWRender::MFrameContext& frameContext) override;

    void setUserUIDrawables(bool value) { mUserUIDrawables = value; }
    void setViewportRectangle(bool value) { mViewportRectangle = value; }
    bool viewportRectangle() const { return mViewportRectangle; }
    //! The operation's own name; the host knows it by the HUD's name.
    const MString& operationName() const { return mOperationName; }

private:
    MString mOperationName{"HUD Operation"};
    bool mUserUIDrawables = true;
    bool mViewportRectangle = false;
};
