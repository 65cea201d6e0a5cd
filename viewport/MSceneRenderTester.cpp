#include "viewport/MSceneRenderTester.h"

#include <maya/MFnSet.h>

#include "viewport/NoThrow.h"

MSceneRenderTester::MSceneRenderTester(const MString& name) : MSceneRender(name) {}

MSceneRenderTester::~MSceneRenderTester() = default;

MHWRender::MClearOperation& MSceneRenderTester::clearOperation() {
    MHWRender::MRenderer* renderer = MHWRender::MRenderer::theRenderer();
    if (renderer) {
        const MColor top = renderer->clearColor();
        const MColor bottom = renderer->clearColor2();
        mClearOperation.setClearColor(MFloatPoint(top.r, top.g, top.b, 1.0f));
        mClearOperation.setClearColor2(MFloatPoint(bottom.r, bottom.g, bottom.b, 1.0f));
        mClearOperation.setClearGradient(renderer->useGradient());
    }
    mClearOperation.setMask(static_cast<unsigned int>(mClearMask));
    return mClearOperation;
}

const MSelectionList* MSceneRenderTester::objectSetOverride() {
    const MSelectionList* members = nullptr;
    stopOnThrow([&] { members = setMembers(); });
    return members;
}

const MSelectionList* MSceneRenderTester::setMembers() {
    // Last frame's members must not linger when the set is gone or emptied.
    mSetMembers.clear();
    if (mObjectSetName.length() == 0) return nullptr;
    MSelectionList found;
    MObject node;
    if (!found.add(mObjectSetName) || !found.getDependNode(0, node)) return nullptr;
    // A name that resolves to something other than a set is no filter either,
    // rather than a filter that hides the whole scene.
    MStatus status;
    MFnSet set(node, &status);
    if (!status) return nullptr;
    if (!set.getMembers(mSetMembers, true)) {
        mSetMembers.clear();
        return nullptr;
    }
    return mSetMembers.length() == 0 ? nullptr : &mSetMembers;
}

const MHWRender::MShaderInstance* MSceneRenderTester::shaderOverride() {
    return mShaderOverride;
}

bool MSceneRenderTester::hasUIDrawables() const {
    return mSceneUIDrawables;
}
