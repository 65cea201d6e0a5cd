// Drawing a panel: the normal renderer's frame or a render override's
// operations, the draw overrides of the visible nodes, the tool's feedback.

#include <maya/MDagPath.h>
#include <maya/MPxContext.h>
#include <maya/MPxDrawOverride.h>
#include <maya/MSelectionList.h>
#include <maya/MUserData.h>
#include <maya/MViewport2Renderer.h>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "host/src/core/Guard.h"
#include "host/src/core/MessageLog.h"
#include "host/src/core/StatusText.h"
#include "host/src/dg/AttrBuild.h"
#include "host/src/dg/Scene.h"
#include "host/src/view/Shader.h"
#include "host/src/view/Views.h"

namespace ehost {

namespace {

using MHWRender::MClearOperation;
using MHWRender::MSceneRender;

//! A render override whose iteration never ends is cut off here.
constexpr int kMaxOperationsPerFrame = 10000;

//! Where each DAG node stands in a frame: found in one walk down from the
//! world, so that each node's visibility and world matrix are worked out once
//! per frame, not once for each of its descendants.
struct Placement {
    bool visible = true;
    bool inSet = true;
    MMatrix world;
};
using Placements = std::unordered_map<const DagNode*, Placement>;

MDagPath pathTo(const std::shared_ptr<DagNode>& node) {
    MDagPath path;
    ApiAccess::impl(path).node = node;
    return path;
}

//! What a scene render draws: its filter, exclusions, object set and shader.
struct SceneOptions {
    unsigned int filter = MSceneRender::kNoSceneFilterOverride;
    unsigned int exclusions = MSceneRender::kExcludeNone;
    bool hasSet = false;
    std::vector<const Node*> set;
    const MHWRender::MShaderInstance* shader = nullptr;

    bool shadedItems() const { return filter == 0 || (filter & MSceneRender::kRenderShadedItems); }
    bool uiItems() const { return filter == 0 || (filter & MSceneRender::kRenderUIItems); }
};

//! Visible: neither it nor an ancestor hidden or an intermediate object. In
//! the set: it or an ancestor is a member. An explicit stack: a hierarchy may
//! be deeper than the call stack.
Placements placeDag(const SceneOptions& options) {
    const auto& a = dagAttributes();
    const std::unordered_set<const Node*> members(options.set.begin(), options.set.end());
    Placements placed;
    DagNode& world = theWorld();
    Placement& root = placed[&world];
    root.inSet = !options.hasSet;
    std::vector<std::pair<DagNode*, const Placement*>> stack;
    for (const NodePtr& c : world.children)
        stack.push_back({static_cast<DagNode*>(c.get()), &root});
    while (!stack.empty()) {
        auto [node, up] = stack.back();
        stack.pop_back();
        Placement p;
        p.visible = up->visible && evaluate(*node, {a.visibility.get(), -1}).num[0] != 0 &&
                    evaluate(*node, {a.intermediateObject.get(), -1}).num[0] == 0;
        p.inSet = up->inSet || members.count(node) != 0;
        p.world = node->localMatrix() * up->world;
        // References into an unordered_map stay valid as it grows.
        const Placement& stored = placed[node] = p;
        for (const NodePtr& c : node->children)
            stack.push_back({static_cast<DagNode*>(c.get()), &stored});
    }
    return placed;
}

std::vector<const Node*> nodesOf(const MSelectionList& list) {
    std::vector<const Node*> out;
    for (unsigned i = 0; i < list.length(); ++i) {
        MObject o;
        if (list.getDependNode(i, o)) out.push_back(ApiAccess::as<Node>(o).get());
    }
    return out;
}

class FrameDrawer {
public:
    FrameDrawer(Views& views, Frame& frame, const FrameInfo& info)
        : views_(views), frame_(frame), info_(info) {}

    void standard() {
        frame_.operations = {"clearPass", "scenePass", "hudPass", "presentTarget"};
        drawScene(SceneOptions());
    }

    void withOverride(MHWRender::MRenderOverride& override) {
        frame_.renderer = override.name().str();
        const std::string& name = frame_.renderer;
        auto call = [&name](const char* method) {
            return [&name, method] { return name + "." + method; };
        };
        const auto errorsBefore = theMessages().errorCount();
        MStatus st = guarded(call("setup"), [&] { return override.setup(MString(info_.panel)); });
        if (!st) {
            // One that threw is reported already.
            if (theMessages().errorCount() == errorsBefore)
                theMessages().warning("render override " + name +
                                      ": setup failed: " + statusText(st));
        } else if (guarded(call("startOperationIterator"), false,
                           [&] { return override.startOperationIterator(); })) {
            int count = 0;
            do {
                auto* op = guarded(call("renderOperation"),
                                   static_cast<MHWRender::MRenderOperation*>(nullptr),
                                   [&] { return override.renderOperation(); });
                if (op)
                    guarded([&] { return "render operation " + op->name().str() + " of " + name; },
                            [&] { run(*op); });
                if (++count >= kMaxOperationsPerFrame) {
                    theMessages().warning("render override " + name + ": more than " +
                                          std::to_string(kMaxOperationsPerFrame) +
                                          " operations in a frame");
                    break;
                }
            } while (guarded(call("nextRenderOperation"), false,
                             [&] { return override.nextRenderOperation(); }));
        }
        guarded(call("cleanup"), [&] { return override.cleanup(); });
    }

    void toolFeedback(const Tool& tool) {
        DrawRecorder recorder(newDrawable(Drawable::Source::ToolFeedback, tool.name));
        MHWRender::MUIDrawManager manager(recorder);
        MHWRender::MFrameContext context(info_);
        guarded(tool.name + ".drawFeedback",
                [&] { return tool.context->drawFeedback(manager, context); });
    }

private:
    Drawable& newDrawable(Drawable::Source source, std::string name) {
        frame_.drawables.push_back(Drawable{source, std::move(name), {}});
        return frame_.drawables.back();
    }

    void run(MHWRender::MRenderOperation& op) {
        frame_.operations.push_back(op.name().str());
        switch (op.operationType()) {
            case MHWRender::MRenderOperation::kClear:
                if (auto* c = dynamic_cast<MClearOperation*>(&op)) applyClear(*c);
                break;
            case MHWRender::MRenderOperation::kSceneRender:
                if (auto* s = dynamic_cast<MSceneRender*>(&op)) sceneRender(*s);
                break;
            case MHWRender::MRenderOperation::kUserDefined:
                if (auto* u = dynamic_cast<MHWRender::MUserRenderOperation*>(&op))
                    userOperation(*u);
                break;
            case MHWRender::MRenderOperation::kHUDRender:
                if (auto* h = dynamic_cast<MHWRender::MHUDRender*>(&op)) hud(*h);
                break;
            case MHWRender::MRenderOperation::kPresentTarget:
                if (auto* p = dynamic_cast<MHWRender::MPresentTarget*>(&op))
                    frame_.presentDepth = p->presentDepth();
                break;
            case MHWRender::MRenderOperation::kQuadRender:
                break;  // full-screen shader passes draw nothing this host can show
        }
    }

    void applyClear(const MClearOperation& clear) {
        if (!(clear.mask() & MClearOperation::kClearColor)) return;
        const float* top = clear.clearColor();
        const float* bottom = clear.clearColor2();
        frame_.clear.gradient = clear.clearGradient();
        frame_.clear.top = MColor(top[0], top[1], top[2], top[3]);
        frame_.clear.bottom = MColor(bottom[0], bottom[1], bottom[2], bottom[3]);
        frame_.clear.mask = clear.mask();
    }

    void sceneRender(MSceneRender& op) {
        op.preRender();
        applyClear(op.clearOperation());
        SceneOptions options;
        options.filter = static_cast<unsigned>(op.renderFilterOverride());
        options.exclusions = static_cast<unsigned>(op.objectTypeExclusions());
        if (const MSelectionList* set = op.objectSetOverride()) {
            options.hasSet = true;
            options.set = nodesOf(*set);
        }
        options.shader = op.shaderOverride();
        MHWRender::MDrawContext context(info_);
        op.preSceneRender(context);
        bool ui = op.hasUIDrawables();
        if (ui) {
            DrawRecorder recorder(newDrawable(Drawable::Source::SceneRender, op.name().str()));
            MHWRender::MUIDrawManager manager(recorder);
            op.addPreUIDrawables(manager, context);
        }
        drawScene(options);
        if (ui) {
            DrawRecorder recorder(newDrawable(Drawable::Source::SceneRender, op.name().str()));
            MHWRender::MUIDrawManager manager(recorder);
            op.addPostUIDrawables(manager, context);
        }
        op.postSceneRender(context);
        op.postRender();
    }

    void userOperation(MHWRender::MUserRenderOperation& op) {
        MHWRender::MDrawContext context(info_);
        MStatus st = op.execute(context);
        if (!st)
            theMessages().warning("render operation " + op.name().str() +
                                  " failed: " + statusText(st));
        if (!op.hasUIDrawables()) return;
        DrawRecorder recorder(newDrawable(Drawable::Source::UserOperation, op.name().str()));
        MHWRender::MUIDrawManager manager(recorder);
        op.addUIDrawables(manager, context);
    }

    void hud(MHWRender::MHUDRender& op) {
        if (!op.hasUIDrawables()) return;
        MHWRender::MFrameContext context(info_);
        DrawRecorder recorder(newDrawable(Drawable::Source::HUD, op.name().str()));
        MHWRender::MUIDrawManager manager(recorder);
        op.addUIDrawables(manager, context);
    }

    void drawScene(const SceneOptions& options) {
        MColor shaderColor;
        bool overrideColor = false;
        if (options.shader)
            overrideColor = ApiAccess::impl(*options.shader)->surfaceColor(shaderColor);
        // A draw override may create or delete nodes: walk a copy.
        std::vector<NodePtr> nodes = theScene().nodes();
        const Placements placed = placeDag(options);
        for (const NodePtr& n : nodes) {
            auto dag = std::dynamic_pointer_cast<DagNode>(n);
            if (!dag || dag->isWorld() || !dag->alive) continue;
            auto where = placed.find(dag.get());
            if (where == placed.end() || !where->second.visible || !where->second.inSet) continue;
            if (dag->hasFn(MFn::kMesh)) {
                if (options.shadedItems() && !(options.exclusions & MSceneRender::kExcludeMeshes))
                    frame_.shapes.push_back({dag, overrideColor, shaderColor, where->second.world});
                continue;
            }
            const DrawOverrides::Creator* creator = views_.drawOverrides().creatorFor(*dag->cls);
            if (!creator || !options.uiItems()) continue;
            if (dag->cls->role == NodeRole::Locator &&
                (options.exclusions & MSceneRender::kExcludeLocators))
                continue;
            drawNode(dag, *creator);
        }
    }

    void drawNode(const std::shared_ptr<DagNode>& node, const DrawOverrides::Creator& creator) {
        DrawOverrides::Instance* instance = views_.drawOverrides().instanceFor(*node, creator);
        if (!instance) return;
        MHWRender::MPxDrawOverride* override = instance->override;
        MDagPath objectPath = pathTo(node), cameraPath = pathTo(info_.camera);
        MHWRender::MFrameContext context(info_);
        auto call = [&node](const char* method) {
            return [&node, method] {
                return std::string(method) + " of the draw override for " + node->fullPath();
            };
        };
        MStatus st;
        MUserData* data = guarded(
            call("prepareForDraw"), instance->data,
            [&] {
                return override->prepareForDraw(objectPath, cameraPath, context, instance->data);
            },
            &st);
        if (!st) return;  // nothing sound to draw this time
        // The host owns what prepareForDraw returns; an older object it replaced goes.
        if (data != instance->data) delete instance->data;
        instance->data = data;
        ++instance->draws;
        if (guarded(call("hasUIDrawables"), false, [&] { return override->hasUIDrawables(); })) {
            DrawRecorder recorder(newDrawable(Drawable::Source::DrawOverride, node->fullPath()));
            MHWRender::MUIDrawManager manager(recorder);
            guarded(call("addUIDrawables"),
                    [&] { override->addUIDrawables(objectPath, manager, context, data); });
        }
        if (data && data->deleteAfterUse()) {
            delete data;
            instance->data = nullptr;
        }
    }

    Views& views_;
    Frame& frame_;
    const FrameInfo& info_;
};

struct RefreshGuard {
    explicit RefreshGuard(Panel& p) : panel(p) { panel.refreshing = true; }
    ~RefreshGuard() {
        panel.refreshing = false;
        panel.drawing = nullptr;
    }
    Panel& panel;
};

}  // namespace

MStatus Views::refresh(Panel& panel) {
    if (panel.refreshing || closing_) return MStatus::kSuccess;
    if (!panel.hasCamera())
        return MStatus(MStatus::kFailure, "panel " + panel.name + " has no camera to look through");
    RefreshGuard guard(panel);
    evaluateDirtyNodes();
    drawOverrides_.sweep();
    FrameInfo info;
    info.panel = panel.name;
    info.camera = panel.camera;
    panel.viewFrame(info.view);
    panel.drawing = &info.view;
    Frame frame;
    frame.view = info.view;
    FrameDrawer drawer(*this, frame, info);
    MHWRender::MRenderOverride* override =
        panel.renderer.empty() ? nullptr : renderOverrides_.find(panel.renderer);
    if (override)
        drawer.withOverride(*override);
    else
        drawer.standard();
    if (&panel == active_ && tools_.current()) drawer.toolFeedback(*tools_.current());
    frame.drawn = true;
    panel.frame = std::move(frame);
    ++panel.refreshCount;
    return MStatus::kSuccess;
}

MStatus Views::refreshAll() {
    MStatus result;
    std::vector<Panel*> all;
    for (auto& p : panels_) all.push_back(p.get());
    for (Panel* p : all) {
        MStatus st = refresh(*p);
        if (!st && result) result = st;
    }
    return result;
}

}  // namespace ehost
