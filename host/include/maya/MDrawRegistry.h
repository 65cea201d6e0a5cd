#pragma once
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

namespace MHWRender {

class MPxDrawOverride;

//! Where plug-ins register the Viewport 2.0 drawing of their node types, by
//! draw classification ("drawdb/geometry/footPrint").
class OPENMAYARENDER_EXPORT MDrawRegistry {
public:
    typedef MPxDrawOverride* (*DrawOverrideCreator)(const MObject& obj);

    //! Registers the creator of draw overrides for nodes whose type carries
    //! the classification; registrantId names who registered it.
    static MStatus registerDrawOverrideCreator(const MString& drawClassification,
                                               const MString& registrantId,
                                               DrawOverrideCreator creator);
    //! Removes the creator; the overrides it made are deleted.
    static MStatus deregisterDrawOverrideCreator(const MString& drawClassification,
                                                 const MString& registrantId);
};

}  // namespace MHWRender
