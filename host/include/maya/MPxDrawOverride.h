#pragma once
#include <maya/MBoundingBox.h>
#include <maya/MDagPath.h>
#include <maya/MDrawContext.h>
#include <maya/MFrameContext.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MString.h>
#include <maya/MTypes.h>
#include <maya/MUIDrawManager.h>
#include <maya/MUserData.h>

namespace ehost {
struct ApiAccess;
}

namespace MHWRender {

//! Base class of a plug-in's Viewport 2.0 drawing for the nodes of one draw
//! classification. The host makes one override per node (through the
//! creator registered with MDrawRegistry) and, on each refresh of a viewport
//! that shows the node, calls prepareForDraw and then addUIDrawables.
class OPENMAYARENDER_EXPORT MPxDrawOverride {
public:
    typedef void (*GeometryDrawOverrideCb)(const MDrawContext& context, const MUserData* data);

    MPxDrawOverride(const MObject& obj, GeometryDrawOverrideCb callback, bool isAlwaysDirty = true);
    virtual ~MPxDrawOverride();

    virtual DrawAPI supportedDrawAPIs() const;
    virtual bool hasUIDrawables() const;
    virtual MMatrix transform(const MDagPath& objPath, const MDagPath& cameraPath) const;
    virtual MBoundingBox boundingBox(const MDagPath& objPath, const MDagPath& cameraPath) const;
    virtual bool isBounded(const MDagPath& objPath, const MDagPath& cameraPath) const;
    virtual bool disableInternalBoundingBoxDraw() const;
    virtual bool excludedFromPostEffects() const;
    virtual bool isTransparent() const;
    virtual MUserData* prepareForDraw(const MDagPath& objPath, const MDagPath& cameraPath,
                                      const MFrameContext& frameContext, MUserData* oldData) = 0;
    virtual void addUIDrawables(const MDagPath& objPath, MUIDrawManager& drawManager,
                                const MFrameContext& frameContext, const MUserData* data);
    virtual bool wantUserSelection() const;
    virtual bool traceCallSequence() const;
    virtual void handleTraceMessage(const MString& message) const;

    //! Whether the override was made always dirty (prepared on every frame).
    bool isAlwaysDirty() const { return alwaysDirty_; }

protected:
    GeometryDrawOverrideCb callback_ = nullptr;
    bool alwaysDirty_ = true;
    MObject object_;
};

}  // namespace MHWRender
