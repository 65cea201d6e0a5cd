#include <maya/M3dView.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "host/src/dg/Api.h"
#include "host/src/nodes/Camera.h"
#include "host/src/view/Views.h"

using ehost::api::fail;
using ehost::api::setStatus;

namespace {

ehost::Panel* panelNamed(const std::string& name, MStatus& status) {
    ehost::Panel* panel = ehost::theViews().findPanel(name);
    if (panel) {
        status = MStatus::kSuccess;
        return panel;
    }
    status = name.empty() ? fail(MStatus::kInvalidParameter, "the view is not attached to a panel")
                          : fail(MStatus::kInvalidParameter, "panel " + name + " no longer exists");
    return nullptr;
}

MStatus frameOf(const std::string& name, ehost::ViewFrame& frame) {
    MStatus st;
    ehost::Panel* panel = panelNamed(name, st);
    if (!panel) return st;
    if (!panel->viewFrame(frame))
        return fail(MStatus::kFailure, "panel " + name + " has no camera to look through");
    return MStatus::kSuccess;
}

//! The view ray through a pixel, from the near to the far clip plane.
MStatus rayThrough(const std::string& name, short x, short y, ehost::Vec3& nearPoint,
                   ehost::Vec3& farPoint) {
    ehost::ViewFrame frame;
    MStatus st = frameOf(name, frame);
    if (st) frame.ray(x, y, nearPoint, farPoint);
    return st;
}

M3dView viewOf(const std::string& panel) {
    M3dView view;
    ehost::ApiAccess::impl(view).panel = panel;
    return view;
}

short toShort(double v) {
    double r = std::round(v);
    return static_cast<short>(std::clamp(r, static_cast<double>(std::numeric_limits<short>::min()),
                                         static_cast<double>(std::numeric_limits<short>::max())));
}

}  // namespace

M3dView M3dView::active3dView(MStatus* ReturnStatus) {
    setStatus(ReturnStatus, MStatus::kSuccess);
    return viewOf(ehost::theViews().activePanel().name);
}

unsigned int M3dView::numberOf3dViews() {
    return static_cast<unsigned>(ehost::theViews().panels().size());
}

MStatus M3dView::get3dView(const unsigned int index, M3dView& view) {
    const auto& panels = ehost::theViews().panels();
    if (index >= panels.size())
        return fail(MStatus::kInvalidParameter, "there is no 3D view " + std::to_string(index) +
                                                    " (" + std::to_string(panels.size()) +
                                                    " views)");
    view = viewOf(panels[index]->name);
    return MStatus::kSuccess;
}

MStatus M3dView::getM3dViewFromModelPanel(const MString& modelPaneName, M3dView& view) {
    MStatus st;
    if (!panelNamed(modelPaneName.str(), st)) return st;
    view = viewOf(modelPaneName.str());
    return MStatus::kSuccess;
}

MStatus M3dView::getM3dViewFromModelEditor(const MString& modelPaneName, M3dView& view) {
    return getM3dViewFromModelPanel(modelPaneName, view);
}

void M3dView::scheduleRefreshAllViews() {
    ehost::theViews().refreshAll();
}

MStatus M3dView::getCamera(MDagPath& camera) {
    MStatus st;
    ehost::Panel* panel = panelNamed(impl_.panel, st);
    if (!panel) return st;
    if (!panel->hasCamera())
        return fail(MStatus::kFailure, "panel " + impl_.panel + " has no camera");
    ehost::ApiAccess::impl(camera).node = panel->camera;
    return MStatus::kSuccess;
}

MStatus M3dView::setCamera(MDagPath& camera) {
    MStatus st;
    ehost::Panel* panel = panelNamed(impl_.panel, st);
    if (!panel) return st;
    if (!camera.isValid()) return fail(MStatus::kInvalidParameter, "the camera path is not valid");
    auto node = ehost::ApiAccess::impl(camera).node;
    ehost::DagNode* shape = ehost::findCamera(node->fullPath());
    if (!shape) return fail(MStatus::kInvalidParameter, node->name + " is not a camera");
    return ehost::theViews().setPanelCamera(*panel, *shape);
}

int M3dView::portWidth(MStatus* ReturnStatus) {
    MStatus st;
    ehost::Panel* panel = panelNamed(impl_.panel, st);
    setStatus(ReturnStatus, st);
    return panel ? panel->width : 0;
}

int M3dView::portHeight(MStatus* ReturnStatus) {
    MStatus st;
    ehost::Panel* panel = panelNamed(impl_.panel, st);
    setStatus(ReturnStatus, st);
    return panel ? panel->height : 0;
}

M3dView::DisplayStyle M3dView::displayStyle(MStatus* ReturnStatus) const {
    MStatus st;
    panelNamed(impl_.panel, st);
    setStatus(ReturnStatus, st);
    return kGouraudShaded;
}

bool M3dView::isVisible(MStatus* ReturnStatus) const {
    MStatus st;
    bool exists = panelNamed(impl_.panel, st) != nullptr;
    setStatus(ReturnStatus, st);
    return exists;
}

MString M3dView::panelName(MStatus* ReturnStatus) const {
    MStatus st;
    panelNamed(impl_.panel, st);
    setStatus(ReturnStatus, st);
    return st ? MString(impl_.panel) : MString();
}

MStatus M3dView::viewToWorld(short x_pos, short y_pos, MPoint& worldPt,
                             MVector& worldVector) const {
    ehost::Vec3 nearPoint, farPoint;
    MStatus st = rayThrough(impl_.panel, x_pos, y_pos, nearPoint, farPoint);
    if (!st) return st;
    ehost::Vec3 d = ehost::normalized(farPoint - nearPoint);
    worldPt = MPoint(nearPoint.x, nearPoint.y, nearPoint.z);
    worldVector = MVector(d.x, d.y, d.z);
    return MStatus::kSuccess;
}

MStatus M3dView::viewToWorld(short x_pos, short y_pos, MPoint& nearClipPt,
                             MPoint& farClipPt) const {
    ehost::Vec3 nearPoint, farPoint;
    MStatus st = rayThrough(impl_.panel, x_pos, y_pos, nearPoint, farPoint);
    if (!st) return st;
    nearClipPt = MPoint(nearPoint.x, nearPoint.y, nearPoint.z);
    farClipPt = MPoint(farPoint.x, farPoint.y, farPoint.z);
    return MStatus::kSuccess;
}

MStatus M3dView::worldToView(const MPoint& worldPt, short& x_pos, short& y_pos,
                             bool* clipped) const {
    ehost::ViewFrame frame;
    MStatus st = frameOf(impl_.panel, frame);
    if (!st) return st;
    double w = worldPt.w != 0 ? worldPt.w : 1.0;
    ehost::Vec3 p{worldPt.x / w, worldPt.y / w, worldPt.z / w};
    double x = 0, y = 0;
    if (!frame.project(p, x, y)) {
        if (clipped) *clipped = true;
        return fail(MStatus::kInvalidParameter,
                    "the point is level with or behind the camera's eye");
    }
    x_pos = toShort(x);
    y_pos = toShort(y);
    if (clipped) {
        double depth = frame.depth(p);
        *clipped = !frame.insidePort(x, y) || depth < frame.nearClip() || depth > frame.farClip();
    }
    return MStatus::kSuccess;
}

MStatus M3dView::refresh(bool all, bool, bool) {
    if (all) return ehost::theViews().refreshAll();
    MStatus st;
    ehost::Panel* panel = panelNamed(impl_.panel, st);
    if (!panel) return st;
    return ehost::theViews().refresh(*panel);
}

void M3dView::scheduleRefresh() {
    refresh();
}
