#pragma once
#include <maya/MRenderOperation.h>

namespace MHWRender {

//! Shows the frame's targets in the viewport: the last step of a frame.
class OPENMAYARENDER_EXPORT MPresentTarget : public MRenderOperation {
public:
    enum MTargetBackBuffer { kCenterBuffer, kLeftBuffer, kRightBuffer };

    explicit MPresentTarget(const MString& name);
    ~MPresentTarget() override;

    bool presentDepth() const;
    void setPresentDepth(bool value);
    MTargetBackBuffer targetBackBuffer() const;
    void setTargetBackBuffer(MTargetBackBuffer backBuffer);

private:
    bool presentDepth_ = false;
    MTargetBackBuffer backBuffer_ = kCenterBuffer;
};

}  // namespace MHWRender
