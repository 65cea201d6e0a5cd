#pragma once
// Shared set-up for the view tests: a fixture that registers probes through
// the same API a plug-in uses (and removes them again), and the probes
// themselves: a tool context with its context and tool commands, a locator
// with a draw override, and a render override. Each probe writes what the
// host asks of it to a log the tests read.

#include <gmock/gmock.h>

#include <maya/M3dView.h>

#include <maya/MCommandResult.h>
#include <maya/MDrawRegistry.h>
#include <maya/MEventMessage.h>
// Tests are no plug-in module: no exported API version.
#define MNoVersionString
#include <maya/MFnPlugin.h>
#include <maya/MGlobal.h>
#include <maya/MPxContext.h>
#include <maya/MPxContextCommand.h>
#include <maya/MPxDrawOverride.h>
#include <maya/MPxLocatorNode.h>
#include <maya/MPxToolCommand.h>
#include <maya/MSelectionList.h>
#include <maya/MViewport2Renderer.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/src/command/Commands.h"
#include "host/src/core/MessageLog.h"
#include "host/src/dg/Scene.h"
#include "host/src/plugin/Plugin.h"
#include "host/src/plugin/PluginNodes.h"
#include "host/src/plugin/Refusal.h"
#include "host/src/session/Session.h"
#include "host/src/view/Views.h"
#include "tests/host/HostFixture.h"

namespace viewtest {

//! What the probes were asked to do, in order.
inline std::vector<std::string>& log() {
    static std::vector<std::string> entries;
    return entries;
}

inline std::string eventText(const char* what, MEvent& event) {
    short x = 0, y = 0;
    event.getPosition(x, y);
    std::string text = std::string(what) + " " + std::to_string(x) + " " + std::to_string(y) +
                       " b" + std::to_string(static_cast<int>(event.mouseButton()));
    if (event.isModifierShift()) text += " shift";
    if (event.isModifierControl()) text += " ctrl";
    if (event.isModifierNone()) text += " none";
    return text;
}

// ---------------------------------------------------------------- tool probe

//! An undoable tool command that counts its redo and undo.
class ProbeToolCommand : public MPxToolCommand {
public:
    static void* creator() { return new ProbeToolCommand; }
    static MSyntax newSyntax() {
        MSyntax s;
        s.addFlag("-v", "-value", MSyntax::kLong);
        return s;
    }
    bool isUndoable() const override { return true; }
    MStatus doIt(const MArgList&) override { return redoIt(); }
    MStatus redoIt() override {
        log().push_back("tool redo " + std::to_string(value));
        return MStatus::kSuccess;
    }
    MStatus undoIt() override {
        log().push_back("tool undo " + std::to_string(value));
        return MStatus::kSuccess;
    }
    MStatus finalize() override {
        MArgList args;
        args.addArg(MString("-v"));
        args.addArg(value);
        return doFinalize(args);
    }
    int value = 0;
};

class ProbeContext : public MPxContext {
public:
    ProbeContext() { ++alive; }
    ~ProbeContext() override { --alive; }

    void toolOnSetup(MEvent&) override {
        setHelpString("probe tool");
        setCursor(MCursor::doubleCrossHairCursor);
        log().push_back("setup " + name());
    }
    void toolOffCleanup() override { log().push_back("cleanup " + name()); }

    MStatus doPress(MEvent& event, MHWRender::MUIDrawManager& draw,
                    const MHWRender::MFrameContext&) override {
        log().push_back(eventText("press", event));
        if (newSceneOnPress) ehost::session().newScene();
        short x = 0, y = 0;
        event.getPosition(x, y);
        draw.beginDrawable();
        draw.setColor(MColor(1.0f, 0.0f, 0.0f));
        draw.circle2d(MPoint(x, y), 5.0, true);
        draw.endDrawable();
        return MStatus::kSuccess;
    }
    MStatus doDrag(MEvent& event, MHWRender::MUIDrawManager&,
                   const MHWRender::MFrameContext&) override {
        log().push_back(eventText("drag", event));
        return failDrags ? MStatus(MStatus::kInvalidParameter, "nothing to draw on")
                         : MStatus(MStatus::kSuccess);
    }
    MStatus doRelease(MEvent& event, MHWRender::MUIDrawManager&,
                      const MHWRender::MFrameContext&) override {
        log().push_back(eventText("release", event));
        if (makeCommandOnRelease) {
            auto* command = static_cast<ProbeToolCommand*>(newToolCommand());
            if (!command) {
                log().push_back("no tool command");
                return MStatus::kFailure;
            }
            command->value = size;
            command->redoIt();
            command->finalize();
        }
        return MStatus::kSuccess;
    }
    // Only the older form: the host must fall back to it.
    MStatus doPtrMoved(MEvent& event) override {
        log().push_back(eventText("move(old)", event));
        return MStatus::kSuccess;
    }
    MStatus drawFeedback(MHWRender::MUIDrawManager& draw,
                         const MHWRender::MFrameContext& frame) override {
        log().push_back("feedback " + name());
        draw.beginDrawable();
        draw.setFontSize(10);
        draw.text2d(MPoint(10, 10), MString(label.c_str()));
        feedbackCamera = frame.getCurrentCameraPath().fullPathName().str();
        draw.endDrawable();
        return MStatus::kSuccess;
    }
    void completeAction() override { log().push_back("complete " + name()); }
    void deleteAction() override { log().push_back("delete " + name()); }
    void abortAction() override { log().push_back("abort " + name()); }

    std::string name() const { return ehost::ApiAccess::impl(*this).name; }

    int size = 1;
    std::string label = "probe";
    bool failDrags = false;
    bool makeCommandOnRelease = false;
    bool newSceneOnPress = false;
    std::string feedbackCamera;
    inline static int alive = 0;
};

class ProbeContextCommand : public MPxContextCommand {
public:
    static void* creator() { return new ProbeContextCommand; }
    MPxContext* makeObj() override {
        made = new ProbeContext;
        return made;
    }
    MStatus appendSyntax() override {
        MSyntax s = syntax();
        s.addFlag("-sz", "-size", MSyntax::kLong);
        s.addFlag("-lb", "-label", MSyntax::kString);
        s.addFlag("-mc", "-makeCommand");
        return MStatus::kSuccess;
    }
    MStatus doEditFlags() override {
        MArgParser args = parser();
        if (args.isFlagSet("-sz")) args.getFlagArgument("-sz", 0, made->size);
        if (args.isFlagSet("-lb")) {
            MString label;
            args.getFlagArgument("-lb", 0, label);
            made->label = label.str();
        }
        if (args.isFlagSet("-mc")) made->makeCommandOnRelease = true;
        return MStatus::kSuccess;
    }
    MStatus doQueryFlags() override {
        MArgParser args = parser();
        if (args.isFlagSet("-sz")) setResult(made->size);
        if (args.isFlagSet("-lb")) setResult(MString(made->label.c_str()));
        return MStatus::kSuccess;
    }
    ProbeContext* made = nullptr;
};

// ---------------------------------------------------------------- draw override probe

class ProbeLocator : public MPxLocatorNode {
public:
    static void* creator() { return new ProbeLocator; }
    static MStatus initialize() { return MStatus::kSuccess; }
    inline static const MTypeId id{0x7f0b01};
    inline static const char* classification = "drawdb/geometry/viewProbe";
};

class ProbeData : public MUserData {
public:
    explicit ProbeData(bool deleteAfterUse) : MUserData(deleteAfterUse) { ++alive; }
    ~ProbeData() override { --alive; }
    int frames = 0;
    inline static int alive = 0;
};

//! Draws what the test asks for; by default a labelled cross at the node.
class ProbeDrawOverride : public MHWRender::MPxDrawOverride {
public:
    explicit ProbeDrawOverride(const MObject& obj) : MPxDrawOverride(obj, nullptr, false) {
        ++alive;
    }
    ~ProbeDrawOverride() override { --alive; }
    static MHWRender::MPxDrawOverride* creator(const MObject& obj) {
        ++made;
        return new ProbeDrawOverride(obj);
    }

    MHWRender::DrawAPI supportedDrawAPIs() const override { return MHWRender::kAllDevices; }
    bool hasUIDrawables() const override { return true; }
    MUserData* prepareForDraw(const MDagPath& objPath, const MDagPath& cameraPath,
                              const MHWRender::MFrameContext&, MUserData* oldData) override {
        auto* data = dynamic_cast<ProbeData*>(oldData);
        if (!data) data = new ProbeData(deleteDataAfterUse);
        ++data->frames;
        log().push_back("prepare " + objPath.partialPathName().str() + " " +
                        cameraPath.partialPathName().str() + " " + std::to_string(data->frames));
        return data;
    }
    void addUIDrawables(const MDagPath& objPath, MHWRender::MUIDrawManager& draw,
                        const MHWRender::MFrameContext& frame, const MUserData* data) override {
        log().push_back("add " + objPath.partialPathName().str() + " " +
                        std::to_string(static_cast<const ProbeData*>(data)->frames));
        if (drawing) {
            drawing(draw, frame);
            return;
        }
        draw.beginDrawable();
        draw.setColor(MColor(0.2f, 0.9f, 0.3f));
        draw.line(MPoint(-1, 0, 0), MPoint(1, 0, 0));
        draw.line(MPoint(0, -1, 0), MPoint(0, 1, 0));
        draw.endDrawable();
    }

    inline static int alive = 0;
    inline static int made = 0;
    inline static bool deleteDataAfterUse = false;
    //! What every probe override draws, when set.
    inline static std::function<void(MHWRender::MUIDrawManager&, const MHWRender::MFrameContext&)>
        drawing;
};

// ---------------------------------------------------------------- render override probe

class ProbeSceneRender : public MHWRender::MSceneRender {
public:
    explicit ProbeSceneRender(const MString& name) : MSceneRender(name) {}
    void preRender() override { log().push_back("scene preRender"); }
    void postRender() override { log().push_back("scene postRender"); }
    MHWRender::MClearOperation& clearOperation() override {
        log().push_back("scene clearOperation");
        mClearOperation.setClearColor(MFloatPoint(0.1f, 0.2f, 0.3f, 1.0f));
        mClearOperation.setClearColor2(MFloatPoint(0.4f, 0.5f, 0.6f, 1.0f));
        mClearOperation.setClearGradient(gradient);
        return mClearOperation;
    }
    const MSelectionList* objectSetOverride() override {
        return onlyThese.length() ? &onlyThese : nullptr;
    }
    const MHWRender::MShaderInstance* shaderOverride() override { return shader; }
    bool hasUIDrawables() const override { return true; }
    void addPreUIDrawables(MHWRender::MUIDrawManager& draw,
                           const MHWRender::MFrameContext&) override {
        log().push_back("scene preUI");
        draw.text2d(MPoint(5, 5), MString("pre"));
    }
    void addPostUIDrawables(MHWRender::MUIDrawManager&, const MHWRender::MFrameContext&) override {
        log().push_back("scene postUI");
    }
    bool gradient = false;
    MSelectionList onlyThese;
    const MHWRender::MShaderInstance* shader = nullptr;
};

class ProbeUserOperation : public MHWRender::MUserRenderOperation {
public:
    explicit ProbeUserOperation(const MString& name) : MUserRenderOperation(name) {}
    MStatus execute(const MHWRender::MDrawContext& context) override {
        int w = 0, h = 0;
        context.getRenderTargetSize(w, h);
        log().push_back("user execute " + std::to_string(w) + "x" + std::to_string(h));
        return MStatus::kSuccess;
    }
    bool hasUIDrawables() const override { return true; }
    void addUIDrawables(MHWRender::MUIDrawManager& draw, const MHWRender::MFrameContext&) override {
        log().push_back("user addUIDrawables");
        draw.beginDrawable();
        draw.setColor(MColor(0.1f, 0.1f, 0.8f, 0.5f));
        draw.setDepthPriority(5);
        draw.setLineWidth(4);
        draw.lineList(lines, false);
        draw.endDrawable();
    }
    MPointArray lines;
};

class ProbeHud : public MHWRender::MHUDRender {
public:
    bool hasUIDrawables() const override { return true; }
    void addUIDrawables(MHWRender::MUIDrawManager& draw, const MHWRender::MFrameContext&) override {
        log().push_back("hud addUIDrawables");
        draw.beginDrawable();
        draw.text2d(MPoint(10, 5), MString("Probe Render"));
        draw.endDrawable();
    }
};

class ProbeRenderOverride : public MHWRender::MRenderOverride {
public:
    explicit ProbeRenderOverride(const MString& name)
        : MRenderOverride(name),
          scene("Probe Scene"),
          user("Probe User"),
          present("Probe Present") {
        present.setPresentDepth(true);
        ops = {&scene, &user, &hud, &present};
    }
    MHWRender::DrawAPI supportedDrawAPIs() const override { return MHWRender::kAllDevices; }
    bool startOperationIterator() override {
        log().push_back("start");
        index = 0;
        return true;
    }
    MHWRender::MRenderOperation* renderOperation() override {
        return index < ops.size() ? ops[index] : nullptr;
    }
    bool nextRenderOperation() override { return ++index < ops.size(); }
    MStatus setup(const MString& destination) override {
        log().push_back("setup " + destination.str());
        return MStatus::kSuccess;
    }
    MStatus cleanup() override {
        log().push_back("cleanup");
        return MStatus::kSuccess;
    }
    MString uiName() const override { return MString("Probe Override"); }

    ProbeSceneRender scene;
    ProbeUserOperation user;
    ProbeHud hud;
    MHWRender::MPresentTarget present;
    std::vector<MHWRender::MRenderOperation*> ops;
    size_t index = 0;
};

// ---------------------------------------------------------------- fixture

class ViewTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        log().clear();
        ProbeDrawOverride::made = 0;
        ProbeDrawOverride::drawing = nullptr;
        ProbeDrawOverride::deleteDataAfterUse = false;
    }
    void TearDown() override {
        views().tools().toolOff();
        ehost::session().newScene();
        // Undo entries may hold probe tool commands.
        ehost::session().commands().undoQueue.flush();
        for (auto it = cleanups_.rbegin(); it != cleanups_.rend(); ++it) (*it)();
        cleanups_.clear();
        ehost::clearRefusals();
        HostTest::TearDown();
    }

    static MStatus run(const std::string& text, MCommandResult* result = nullptr) {
        return ehost::runCommands(text, {false, true}, result);
    }
    static std::string result(const std::string& text) {
        MCommandResult r;
        EXPECT_TRUE(run(text, &r)) << text << ": " << lastError();
        return r.stringResult().str();
    }
    static std::string lastMessage(ehost::MessageLog::Kind kind) {
        const auto& e = ehost::session().messages().entries();
        for (auto it = e.rbegin(); it != e.rend(); ++it)
            if (it->kind == kind) return it->text;
        return "";
    }
    //! A camera shape NAMEShape under a transform NAME.
    static void makeCamera(const std::string& name) {
        ASSERT_TRUE(run("createNode transform -n " + name + "; createNode camera -n " + name +
                        "Shape -p " + name))
            << lastError();
    }
    static std::string lastError() { return lastMessage(ehost::MessageLog::Kind::Error); }
    static ehost::Views& views() { return ehost::theViews(); }
    static ehost::Panel& activePanel() { return views().activePanel(); }

    //! A plug-in object to register through, as a loading module's.
    MObject pluginObject() {
        if (!plugin_) {
            plugin_ = std::make_shared<ehost::Plugin>();
            plugin_->info.name = "viewProbes";
        }
        return ehost::ApiAccess::wrap(plugin_);
    }

    //! Registers the probe context command "probeCtx" with its tool command "probeTool".
    void registerProbeTool() {
        MObject obj = pluginObject();
        MFnPlugin fn(obj);
        ASSERT_TRUE(fn.registerContextCommand("probeCtx", ProbeContextCommand::creator, "probeTool",
                                              ProbeToolCommand::creator,
                                              ProbeToolCommand::newSyntax));
        cleanups_.push_back([this] {
            MObject o = pluginObject();
            MFnPlugin(o).deregisterContextCommand("probeCtx", "probeTool");
        });
    }

    //! Registers the probe locator type and its draw override.
    void registerProbeLocator() {
        MString classification(ProbeLocator::classification);
        ASSERT_TRUE(ehost::registerPluginNodeType(
            "viewProbe", ProbeLocator::id, ProbeLocator::creator, ProbeLocator::initialize,
            MPxNode::kLocatorNode, ProbeLocator::classification, ""));
        cleanups_.push_back([] { ehost::deregisterPluginNodeType(ProbeLocator::id); });
        ASSERT_TRUE(MHWRender::MDrawRegistry::registerDrawOverrideCreator(
            classification, "viewTests", ProbeDrawOverride::creator));
        cleanups_.push_back([classification] {
            MHWRender::MDrawRegistry::deregisterDrawOverrideCreator(classification, "viewTests");
        });
    }

    //! Registers a probe render override; the fixture deregisters and deletes it.
    ProbeRenderOverride& registerProbeOverride(const char* name = "probeOverride") {
        auto* override = new ProbeRenderOverride(MString(name));
        EXPECT_TRUE(MHWRender::MRenderer::theRenderer()->registerOverride(override));
        cleanups_.push_back([override] {
            MHWRender::MRenderer::theRenderer()->deregisterOverride(override);
            delete override;
        });
        return *override;
    }

    //! An event callback counting how often the event fired.
    int* countEvent(const char* event) {
        auto counter = std::make_shared<int>(0);
        counters_.push_back(counter);
        MCallbackId id = MEventMessage::addEventCallback(
            MString(event), [](void* data) { ++*static_cast<int*>(data); }, counter.get());
        cleanups_.push_back([id] { MMessage::removeCallback(id); });
        return counter.get();
    }

    std::vector<std::function<void()>> cleanups_;

private:
    std::shared_ptr<ehost::Plugin> plugin_;
    std::vector<std::shared_ptr<int>> counters_;
};

}  // namespace viewtest
