#pragma once
#include <maya/MClearOperation.h>
#include <maya/MDrawContext.h>
#include <maya/MFrameContext.h>
#include <maya/MRenderOperation.h>
#include <maya/MUIDrawManager.h>

class MSelectionList;

namespace MHWRender {

class MShaderInstance;

//! Draws the scene, or the part of it the overrides below select, after the
//! clear operation it holds.
class OPENMAYARENDER_EXPORT MSceneRender : public MRenderOperation {
public:
    enum MSceneFilterOption {
        kNoSceneFilterOverride = 0,
        kRenderPreSceneUIItems = 1 << 0,
        kRenderOpaqueShadedItems = 1 << 1,
        kRenderTransparentShadedItems = 1 << 2,
        kRenderShadedItems = kRenderOpaqueShadedItems | kRenderTransparentShadedItems,
        kRenderPostSceneUIItems = 1 << 3,
        kRenderUIItems = kRenderPreSceneUIItems | kRenderPostSceneUIItems,
        kRenderAllItems = ~0
    };
    enum MDisplayMode {
        kNoDisplayModeOverride = 0,
        kWireFrame = 1 << 0,
        kShaded = 1 << 1,
        kFlatShaded = 1 << 2,
        kShadeActiveOnly = 1 << 3,
        kBoundingBox = 1 << 4,
        kDefaultMaterial = 1 << 5,
        kTextured = 1 << 6
    };
    enum MLightingMode {
        kNoLightingModeOverride = 0,
        kNoLight,
        kAmbientLight,
        kLightDefault,
        kSelectedLights,
        kSceneLights
    };
    enum MCullingOption { kNoCullingOverride = 0, kCullNone, kCullBackFaces, kCullFrontFaces };
    enum MObjectTypeExclusions {
        kExcludeNone = 0,
        kExcludeNurbsCurves = 1 << 0,
        kExcludeNurbsSurfaces = 1 << 1,
        kExcludeMeshes = 1 << 2,
        kExcludePlanes = 1 << 3,
        kExcludeLights = 1 << 4,
        kExcludeCameras = 1 << 5,
        kExcludeJoints = 1 << 6,
        kExcludeIkHandles = 1 << 7,
        kExcludeDeformers = 1 << 8,
        kExcludeDynamics = 1 << 9,
        kExcludeLocators = 1 << 10,
        kExcludeAll = ~0
    };

    explicit MSceneRender(const MString& name);
    ~MSceneRender() override;

    virtual MSceneFilterOption renderFilterOverride();
    virtual MObjectTypeExclusions objectTypeExclusions();
    //! Draw only these objects (none: everything).
    virtual const MSelectionList* objectSetOverride();
    //! Draw every shaded object with this shader (none: their own).
    virtual const MShaderInstance* shaderOverride();
    virtual MDisplayMode displayModeOverride();
    virtual MLightingMode lightModeOverride();
    virtual MCullingOption cullingOverride();
    virtual void preRender();
    virtual void postRender();
    virtual void preSceneRender(const MDrawContext& context);
    virtual void postSceneRender(const MDrawContext& context);
    //! The clear done before the scene is drawn.
    virtual MClearOperation& clearOperation();
    virtual bool hasUIDrawables() const;
    virtual void addPreUIDrawables(MUIDrawManager& drawManager, const MFrameContext& frameContext);
    virtual void addPostUIDrawables(MUIDrawManager& drawManager, const MFrameContext& frameContext);

protected:
    MClearOperation mClearOperation;
};

}  // namespace MHWRender
