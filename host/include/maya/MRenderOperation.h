#pragma once
#include <maya/MFloatPoint.h>
#include <maya/MString.h>

namespace MHWRender {

class MRenderTarget;

//! One step of a render override's frame: a clear, a scene draw, a user
//! operation, the HUD or the final present.
class OPENMAYARENDER_EXPORT MRenderOperation {
public:
    enum MRenderOperationType {
        kClear,
        kSceneRender,
        kQuadRender,
        kUserDefined,
        kHUDRender,
        kPresentTarget
    };

    explicit MRenderOperation(const MString& name);
    virtual ~MRenderOperation();

    //! Targets to draw into instead of the viewport's (none by default).
    virtual MRenderTarget* const* targetOverrideList(unsigned int& listSize);
    virtual bool enableSRGBWrite();
    //! A part of the viewport to draw into (none: the whole viewport).
    virtual const MFloatPoint* viewportRectangleOverride();

    const MString& name() const;
    MRenderOperationType operationType() const;

protected:
    MString mName;
    MRenderOperationType mOperationType = kUserDefined;
};

}  // namespace MHWRender
