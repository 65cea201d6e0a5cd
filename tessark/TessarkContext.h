#pragma once
// The interactive rail tool. Its gestures drive the whole tool: strokes on
// the source surface, pins on the retopology mesh's border, bridges, welds,
// merges and the relax brush, each finished gesture one undoable action.
// The handlers hand the host's events to the tool's state machine.

#include <maya/MCallbackIdArray.h>
#include <maya/MPxContext.h>

#include "tessark/ContextHost.h"
#include "tessark/tool/ToolMachine.h"

class TessarkContext : public MPxContext {
public:
    TessarkContext();
    ~TessarkContext() override;

    void toolOnSetup(MEvent& event) override;
    void toolOffCleanup() override;
    MStatus doPress(MEvent& event, MHWRender::MUIDrawManager& drawMgr,
                    const MHWRender::MFrameContext& context) override;
    MStatus doRelease(MEvent& event, MHWRender::MUIDrawManager& drawMgr,
                      const MHWRender::MFrameContext& context) override;
    MStatus doDrag(MEvent& event, MHWRender::MUIDrawManager& drawMgr,
                   const MHWRender::MFrameContext& context) override;
    MStatus drawFeedback(MHWRender::MUIDrawManager& drawMgr,
                         const MHWRender::MFrameContext& context) override;
    MStatus doPtrMoved(MEvent& event, MHWRender::MUIDrawManager& drawMgr,
                       const MHWRender::MFrameContext& context) override;
    void deleteAction() override;
    void completeAction() override;
    void abortAction() override;

    //! The state machine, for the context command's edits.
    tessark::tool::ToolMachine& machine() { return machine_; }

private:
    //! Each handler starts from the scene as it is now.
    void begin(MHWRender::MUIDrawManager* drawMgr);
    static void onUndo(void* context);
    static void onToolChanged(void* context);

    tessark::ContextHost host_;
    tessark::tool::ToolMachine machine_;
    MCallbackIdArray eventCallbacks_;
};
