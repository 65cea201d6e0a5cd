#pragma once
#include <maya/MCursor.h>
#include <maya/MDoubleArray.h>
#include <maya/MEvent.h>
#include <maya/MFrameContext.h>
#include <maya/MIntArray.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MSyntax.h>
#include <maya/MUIDrawManager.h>

#include <string>

class MPxToolCommand;

namespace ehost {
struct ApiAccess;
}

//! Base class of interactive tools. A context command makes the context; the
//! host calls its handlers with the input events of the active view while it
//! is the current tool (setToolTo). Each handler comes in two forms: the
//! host calls the Viewport 2.0 form (with a draw manager and the frame) and
//! falls back to the older form when a tool does not override it.
class OPENMAYAUI_EXPORT MPxContext {
public:
    enum ImageIndex { kImage1 = 0, kImage2, kImage3 };

    MPxContext();
    virtual ~MPxContext();

    virtual void toolOnSetup(MEvent& event);
    virtual void toolOffCleanup();

    virtual MStatus doPress(MEvent& event);
    virtual MStatus doRelease(MEvent& event);
    virtual MStatus doDrag(MEvent& event);
    virtual MStatus doHold(MEvent& event);
    virtual MStatus doPtrMoved(MEvent& event);
    virtual MStatus doEnterRegion(MEvent& event);

    virtual MStatus doPress(MEvent& event, MHWRender::MUIDrawManager& drawMgr,
                            const MHWRender::MFrameContext& context);
    virtual MStatus doRelease(MEvent& event, MHWRender::MUIDrawManager& drawMgr,
                              const MHWRender::MFrameContext& context);
    virtual MStatus doDrag(MEvent& event, MHWRender::MUIDrawManager& drawMgr,
                           const MHWRender::MFrameContext& context);
    virtual MStatus doHold(MEvent& event, MHWRender::MUIDrawManager& drawMgr,
                           const MHWRender::MFrameContext& context);
    virtual MStatus doPtrMoved(MEvent& event, MHWRender::MUIDrawManager& drawMgr,
                               const MHWRender::MFrameContext& context);
    //! Called on each refresh of the active view while this is the current tool.
    virtual MStatus drawFeedback(MHWRender::MUIDrawManager& drawMgr,
                                 const MHWRender::MFrameContext& context);

    //! Backspace.
    virtual void deleteAction();
    //! Enter.
    virtual void completeAction();
    //! Escape.
    virtual void abortAction();
    virtual void getClassName(MString& name) const;
    virtual bool processNumericalInput(const MDoubleArray& values, const MIntArray& flags,
                                       bool isAbsolute);
    virtual bool feedbackNumericalInput() const;
    virtual MSyntax::MArgType argTypeNumericalInput(unsigned int index) const;

    MStatus setImage(const MString& image, ImageIndex index);
    MString getImage(ImageIndex index, MStatus* ReturnStatus = NULL) const;
    MStatus setCursor(const MCursor& cursor);
    MStatus setHelpString(const MString& str);
    MStatus setTitleString(const MString& str);

    //! A new instance of the tool command registered with this context's
    //! context command, ready to be armed; finalizing it hands it to the undo
    //! queue. NULL when the context command has no tool command.
    MPxToolCommand* newToolCommand();

private:
    friend struct ehost::ApiAccess;
    struct Impl {
        std::string name;         // the context's name ("TessarkContext1")
        std::string toolCommand;  // the tool command its context command registered
        std::string helpString, titleString;
        std::string images[3];
        MCursor cursor;
        //! Set by the base Viewport 2.0 handlers: the host then calls the older form.
        bool fallback = false;
    };
    Impl impl_;
};
