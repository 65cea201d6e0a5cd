#pragma once
#include <maya/MDrawContext.h>
#include <maya/MFrameContext.h>
#include <maya/MRenderOperation.h>
#include <maya/MStatus.h>
#include <maya/MUIDrawManager.h>

namespace MHWRender {

//! A plug-in's own step of a render override's frame.
class OPENMAYARENDER_EXPORT MUserRenderOperation : public MRenderOperation {
public:
    explicit MUserRenderOperation(const MString& name);
    ~MUserRenderOperation() override;

    virtual MStatus execute(const MDrawContext& drawContext) = 0;
    virtual bool hasUIDrawables() const;
    virtual void addUIDrawables(MUIDrawManager& drawManager, const MFrameContext& frameContext);
    virtual bool requiresLightData() const;
    virtual bool requiresResetDeviceStates() const;
};

}  // namespace MHWRender
