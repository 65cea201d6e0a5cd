#include "host/src/view/Views.h"

#include <algorithm>

#include "host/src/core/Events.h"
#include "host/src/dag/Dag.h"
#include "host/src/dg/Scene.h"
#include "host/src/nodes/Camera.h"

namespace ehost {

namespace {

constexpr int kMaxPortSize = 8192;

void modelEditorChanged() {
    theEvents().fire("modelEditorChanged");
}

std::shared_ptr<DagNode> shared(DagNode& node) {
    return std::static_pointer_cast<DagNode>(node.self());
}

}  // namespace

Views::Views() {
    auto panel = std::make_unique<Panel>();
    panel->name = kDefaultPanel;
    active_ = panel.get();
    panels_.push_back(std::move(panel));
}

Views::~Views() {
    clear();
}

Panel* Views::findPanel(const std::string& name) const {
    for (const auto& p : panels_)
        if (p->name == name) return p.get();
    return nullptr;
}

MStatus Views::addPanel(const std::string& name, DagNode& camera) {
    std::string why;
    if (!Scene::validName(name, &why))
        return MStatus(MStatus::kInvalidParameter, "panel name: " + why);
    if (findPanel(name))
        return MStatus(MStatus::kInvalidParameter, "a panel named " + name + " already exists");
    if (!isCamera(camera))
        return MStatus(MStatus::kInvalidParameter, camera.name + " is not a camera");
    auto panel = std::make_unique<Panel>();
    panel->name = name;
    panel->camera = shared(camera);
    panel->width = active_->width;
    panel->height = active_->height;
    panels_.push_back(std::move(panel));
    modelEditorChanged();
    return MStatus::kSuccess;
}

MStatus Views::setActivePanel(const std::string& name) {
    Panel* panel = findPanel(name);
    if (!panel) return MStatus(MStatus::kInvalidParameter, "no panel named \"" + name + "\"");
    if (panel == active_) return MStatus::kSuccess;
    active_ = panel;
    theEvents().fire("ActiveViewChanged");
    return MStatus::kSuccess;
}

MStatus Views::setPanelCamera(Panel& panel, DagNode& camera) {
    if (!isCamera(camera))
        return MStatus(MStatus::kInvalidParameter, camera.name + " is not a camera");
    if (panel.camera.get() == &camera) return MStatus::kSuccess;
    panel.camera = shared(camera);
    modelEditorChanged();
    return MStatus::kSuccess;
}

MStatus Views::setPanelRenderer(Panel& panel, const std::string& overrideName) {
    if (!overrideName.empty() && !renderOverrides_.find(overrideName))
        return MStatus(MStatus::kNotFound,
                       "no render override named \"" + overrideName + "\" is registered");
    if (panel.renderer == overrideName) return MStatus::kSuccess;
    panel.renderer = overrideName;
    modelEditorChanged();
    return MStatus::kSuccess;
}

MStatus Views::setPanelSize(Panel& panel, int width, int height) {
    if (width < 1 || height < 1 || width > kMaxPortSize || height > kMaxPortSize)
        return MStatus(MStatus::kInvalidParameter, "a port size must be between 1 and " +
                                                       std::to_string(kMaxPortSize) +
                                                       " pixels, not " + std::to_string(width) +
                                                       " x " + std::to_string(height));
    panel.width = width;
    panel.height = height;
    return MStatus::kSuccess;
}

MStatus Views::removeRenderOverride(const MHWRender::MRenderOverride* override) {
    std::string name = renderOverrides_.remove(override);
    if (name.empty()) return MStatus(MStatus::kNotFound, "the render override is not registered");
    panelsUsingRendererReset(name);
    return MStatus::kSuccess;
}

void Views::panelsUsingRendererReset(const std::string& overrideName) {
    for (auto& p : panels_)
        if (p->renderer == overrideName) {
            p->renderer.clear();
            modelEditorChanged();
        }
}

void Views::resetForNewScene() {
    drawOverrides_.sweep();
    // The panels of the old scene looked through its cameras: a new scene
    // starts again from the default panel looking through persp. The default
    // panel's object stays, in case it is being drawn right now.
    Panel* keep = findPanel(kDefaultPanel);
    std::unique_ptr<Panel> panel;
    for (auto& p : panels_)
        if (p.get() == keep) panel = std::move(p);
    panels_.clear();
    if (!panel) panel = std::make_unique<Panel>();
    const ViewFrame* drawing = panel->drawing;
    bool refreshing = panel->refreshing;
    *panel = Panel();
    panel->name = kDefaultPanel;
    panel->drawing = drawing;
    panel->refreshing = refreshing;
    DagNode* persp = findCamera("persp");
    if (persp) panel->camera = shared(*persp);
    active_ = panel.get();
    panels_.push_back(std::move(panel));
}

void Views::forgetPlugin(const std::string& plugin) {
    if (plugin.empty()) return;
    tools_.removePlugin(plugin);
    drawOverrides_.removePlugin(plugin);
    for (const std::string& name : renderOverrides_.removePlugin(plugin))
        panelsUsingRendererReset(name);
}

void Views::clear() {
    closing_ = true;
    tools_.clear();
    drawOverrides_.clear();
    renderOverrides_.clear();
    for (auto& p : panels_) {
        p->renderer.clear();
        p->frame = Frame();
        p->toolEvent = Drawable();
    }
}

}  // namespace ehost
