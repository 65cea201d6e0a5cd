#pragma once
#include <maya/MRenderOperation.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypes.h>

namespace MHWRender {

//! A plug-in's replacement for the viewport's frame: a list of render
//! operations the host runs in order, between setup and cleanup, in every
//! viewport set to use it (modelEditor -rendererOverrideName).
class OPENMAYARENDER_EXPORT MRenderOverride {
public:
    explicit MRenderOverride(const MString& name);
    virtual ~MRenderOverride();

    virtual DrawAPI supportedDrawAPIs() const;
    //! Iteration over the operations: start, then current and next until
    //! next reports the end.
    virtual bool startOperationIterator();
    virtual MRenderOperation* renderOperation();
    virtual bool nextRenderOperation();
    virtual MStatus setup(const MString& destination);
    virtual MStatus cleanup();
    //! The name shown in the viewport's renderer menu.
    virtual MString uiName() const;

    const MString& name() const;

protected:
    MString mName;
};

}  // namespace MHWRender
