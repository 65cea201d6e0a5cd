#pragma once
// The override's scene pass: the scene as the host draws it, optionally
// limited to the members of one object set and shaded with one shader.

#include <maya/MSelectionList.h>
#include <maya/MString.h>
#include <maya/MViewport2Renderer.h>

class MSceneRenderTester : public MHWRender::MSceneRender {
public:
    explicit MSceneRenderTester(const MString& name);
    ~MSceneRenderTester() override;

    void preRender() override {}
    void postRender() override {}
    void preSceneRender(const MHWRender::MDrawContext&) override {}
    void postSceneRender(const MHWRender::MDrawContext&) override {}
    void addPreUIDrawables(MHWRender::MUIDrawManager&, const MHWRender::MFrameContext&) override {}
    void addPostUIDrawables(MHWRender::MUIDrawManager&, const MHWRender::MFrameContext&) override {}

    const MSelectionList* objectSetOverride() override;
    const MHWRender::MShaderInstance* shaderOverride() override;
    MHWRender::MClearOperation& clearOperation() override;
    bool hasUIDrawables() const override;

    void setClearMask(int mask) { mClearMask = mask; }
    void setObjectSetName(const MString& name) { mObjectSetName = name; }
    void setSceneFilter(unsigned int filter) { mSceneFilter = filter; }
    void setShader(const MHWRender::MShaderInstance* shader) { mShaderOverride = shader; }
    void setSceneUIDrawables(bool value) { mSceneUIDrawables = value; }
    void setViewportRectangle(bool value) { mViewportRectangle = value; }

    int clearMask() const { return mClearMask; }
    const MString& objectSetName() const { return mObjectSetName; }
    //! Kept only: the host's own render filter stays in force.
    unsigned int sceneFilter() const { return mSceneFilter; }
    bool viewportRectangle() const { return mViewportRectangle; }

private:
    //! The named set's members; null when it is no set or has none.
    const MSelectionList* setMembers();

    int mClearMask = -1;
    MString mObjectSetName;
    MSelectionList mSetMembers;
    unsigned int mSceneFilter = kNoSceneFilterOverride;
    const MHWRender::MShaderInstance* mShaderOverride = nullptr;
    bool mSceneUIDrawables = false;
    bool mViewportRectangle = false;
};
