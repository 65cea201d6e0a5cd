#pragma once
#include <maya/MFrameContext.h>
#include <maya/MRenderOperation.h>
#include <maya/MUIDrawManager.h>

namespace MHWRender {

//! Draws the heads-up display over the frame, and whatever 2D drawing a
//! plug-in adds to it.
class OPENMAYARENDER_EXPORT MHUDRender : public MRenderOperation {
public:
    MHUDRender();
    ~MHUDRender() override;

    virtual bool hasUIDrawables() const;
    virtual void addUIDrawables(MUIDrawManager& drawManager2D, const MFrameContext& frameContext);
};

}  // namespace MHWRender
