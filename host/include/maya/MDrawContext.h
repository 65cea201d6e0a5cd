#pragma once
#include <maya/MFrameContext.h>

namespace MHWRender {

//! The frame context of a draw: what MFrameContext tells, plus the size of
//! the target being drawn into.
class OPENMAYARENDER_EXPORT MDrawContext : public MFrameContext {
public:
    //! Made by the host only.
    explicit MDrawContext(const ehost::FrameInfo& frame) : MFrameContext(frame) {}
    ~MDrawContext() override = default;

    MStatus getRenderTargetSize(int& width, int& height) const;
    //! Depth range of what is drawn, and whether the frame draws anything at all.
    MStatus getDepthRange(float& nearDepth, float& farDepth) const;
};

}  // namespace MHWRender
