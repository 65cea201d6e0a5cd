#pragma once
#include <maya/MFloatPoint.h>
#include <maya/MRenderOperation.h>

namespace MHWRender {

//! Clears the viewport's colour, depth and stencil: one colour, or a
//! vertical gradient between two.
class OPENMAYARENDER_EXPORT MClearOperation : public MRenderOperation {
public:
    enum ClearMask {
        kClearNone = 0,
        kClearColor = 1 << 0,
        kClearDepth = 1 << 1,
        kClearStencil = 1 << 2,
        kClearAll = ~0
    };

    explicit MClearOperation(const MString& name);
    ~MClearOperation() override;

    unsigned int mask() const;
    const float* clearColor() const;
    const float* clearColor2() const;
    bool clearGradient() const;
    int clearStencil() const;
    float clearDepth() const;

    void setMask(unsigned int mask);
    void setClearColor(MFloatPoint value);
    void setClearColor2(MFloatPoint value);
    void setClearGradient(bool value);
    void setClearStencil(int value);
    void setClearDepth(float value);

private:
    unsigned int mask_ = static_cast<unsigned int>(kClearAll);
    float color_[4] = {0, 0, 0, 1};
    float color2_[4] = {0, 0, 0, 1};
    bool gradient_ = false;
    int stencil_ = 0;
    float depth_ = 1.0f;
};

}  // namespace MHWRender
