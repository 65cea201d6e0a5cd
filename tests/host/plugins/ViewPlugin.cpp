// A plug-in module for the view tests, written as a careless plug-in for the
// real host might be: it registers a locator with a draw override, a tool
// context command and a render override, and on unload removes only its node
// type (it deletes its render override, the plug-in's own object, without
// deregistering it). The host must drop the rest before the module's code
// goes, and never touch the deleted override again.

#include <maya/MDrawRegistry.h>
#include <maya/MFnPlugin.h>
#include <maya/MPxContext.h>
#include <maya/MPxContextCommand.h>
#include <maya/MPxDrawOverride.h>
#include <maya/MPxLocatorNode.h>
#include <maya/MViewport2Renderer.h>

namespace {

const MTypeId kLocatorId(0x0007F1B0);
const MString kClassification("drawdb/geometry/viewTestLocator");

class ViewLocator : public MPxLocatorNode {
public:
    static void* creator() { return new ViewLocator; }
    static MStatus initialize() { return MStatus::kSuccess; }
};

class ViewDrawOverride : public MHWRender::MPxDrawOverride {
public:
    explicit ViewDrawOverride(const MObject& obj) : MPxDrawOverride(obj, nullptr, false) {}
    static MHWRender::MPxDrawOverride* creator(const MObject& obj) {
        return new ViewDrawOverride(obj);
    }
    bool hasUIDrawables() const override { return true; }
    MUserData* prepareForDraw(const MDagPath&, const MDagPath&, const MHWRender::MFrameContext&,
                              MUserData* oldData) override {
        return oldData ? oldData : new MUserData(false);
    }
    void addUIDrawables(const MDagPath&, MHWRender::MUIDrawManager& draw,
                        const MHWRender::MFrameContext&, const MUserData*) override {
        draw.beginDrawable();
        draw.circle(MPoint(0, 0, 0), MVector(0, 1, 0), 1.0);
        draw.endDrawable();
    }
};

class ViewContext : public MPxContext {
public:
    MStatus drawFeedback(MHWRender::MUIDrawManager& draw,
                         const MHWRender::MFrameContext&) override {
        draw.text2d(MPoint(5, 5), "view test tool");
        return MStatus::kSuccess;
    }
};

class ViewContextCommand : public MPxContextCommand {
public:
    static void* creator() { return new ViewContextCommand; }
    MPxContext* makeObj() override { return new ViewContext; }
};

class ViewRenderOverride : public MHWRender::MRenderOverride {
public:
    ViewRenderOverride()
        : MRenderOverride("viewTestOverride"),
          scene("viewTest Scene"),
          present("viewTest Present") {}
    bool startOperationIterator() override {
        index = 0;
        return true;
    }
    MHWRender::MRenderOperation* renderOperation() override {
        return index == 0   ? static_cast<MHWRender::MRenderOperation*>(&scene)
               : index == 1 ? &present
                            : nullptr;
    }
    bool nextRenderOperation() override { return ++index < 2; }

    MHWRender::MSceneRender scene;
    MHWRender::MPresentTarget present;
    int index = 0;
};

// The plug-in keeps the override it registers, as the renderer's API asks.
ViewRenderOverride* theOverride = nullptr;

}  // namespace

PLUGIN_EXPORT MStatus initializePlugin(MObject obj) {
    MFnPlugin plugin(obj, "Tessark tests", "1.0", "Any");
    MStatus st =
        plugin.registerNode("viewTestLocator", kLocatorId, ViewLocator::creator,
                            ViewLocator::initialize, MPxNode::kLocatorNode, &kClassification);
    if (st)
        st = MHWRender::MDrawRegistry::registerDrawOverrideCreator(
            kClassification, "viewTestPlugin", ViewDrawOverride::creator);
    if (st) st = plugin.registerContextCommand("viewTestCtx", ViewContextCommand::creator);
    if (st) {
        theOverride = new ViewRenderOverride;
        st = MHWRender::MRenderer::theRenderer()->registerOverride(theOverride);
    }
    return st;
}

PLUGIN_EXPORT MStatus uninitializePlugin(MObject obj) {
    MFnPlugin plugin(obj);
    delete theOverride;
    theOverride = nullptr;
    return plugin.deregisterNode(kLocatorId);
}
