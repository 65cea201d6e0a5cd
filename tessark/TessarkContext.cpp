#include "tessark/TessarkContext.h"

#include <maya/M3dView.h>
#include <maya/MEventMessage.h>
#include <maya/MFrameContext.h>

#include "railnode/ApiError.h"

namespace {

using tessark::tool::Button;
using tessark::tool::HandlerResult;
using tessark::tool::PointerEvent;

PointerEvent pointerEvent(MEvent& event) {
    PointerEvent e;
    event.getPosition(e.x, e.y);
    switch (event.mouseButton()) {
        case MEvent::kLeftMouse:
            e.button = Button::left;
            break;
        case MEvent::kMiddleMouse:
            e.button = Button::middle;
            break;
        default:
            e.button = Button::none;
            break;
    }
    e.modifiers.shift = event.isModifierShift();
    e.modifiers.ctrl = event.isModifierControl();
    return e;
}

MStatus statusOf(HandlerResult result) {
    return result == HandlerResult::ok ? MStatus::kSuccess : MStatus::kInvalidParameter;
}

}  // namespace

TessarkContext::TessarkContext() : host_(*this), machine_(host_) {}

TessarkContext::~TessarkContext() {
    if (eventCallbacks_.length()) MMessage::removeCallbacks(eventCallbacks_);
}

void TessarkContext::begin(MHWRender::MUIDrawManager* drawMgr) {
    host_.forgetMesh();
    host_.setDrawManager(drawMgr);
}

void TessarkContext::onUndo(void* context) {
    auto* self = static_cast<TessarkContext*>(context);
    self->begin(nullptr);
    self->machine_.onUndo();
}

void TessarkContext::onToolChanged(void* context) {
    auto* self = static_cast<TessarkContext*>(context);
    self->begin(nullptr);
    self->machine_.onToolChanged();
}

void TessarkContext::toolOnSetup(MEvent&) {
    begin(nullptr);
    machine_.toolOnSetup();
    if (eventCallbacks_.length()) MMessage::removeCallbacks(eventCallbacks_);
    eventCallbacks_.clear();
    for (auto [name, handler] : {std::pair{"Undo", &TessarkContext::onUndo},
                                 std::pair{"ToolChanged", &TessarkContext::onToolChanged}}) {
        MStatus status;
        MCallbackId id = MEventMessage::addEventCallback(name, handler, this, &status);
        TESSARK_REPORT_ERROR(status);
        if (status) eventCallbacks_.append(id);
    }
}

void TessarkContext::toolOffCleanup() {
    begin(nullptr);
    machine_.toolOffCleanup();
    if (eventCallbacks_.length()) MMessage::removeCallbacks(eventCallbacks_);
    eventCallbacks_.clear();
}

MStatus TessarkContext::doPress(MEvent& event, MHWRender::MUIDrawManager& drawMgr,
                                const MHWRender::MFrameContext&) {
    begin(&drawMgr);
    machine_.press(pointerEvent(event));
    return MStatus::kSuccess;
}

MStatus TessarkContext::doDrag(MEvent& event, MHWRender::MUIDrawManager& drawMgr,
                               const MHWRender::MFrameContext&) {
    begin(&drawMgr);
    return statusOf(machine_.drag(pointerEvent(event)));
}

MStatus TessarkContext::doRelease(MEvent& event, MHWRender::MUIDrawManager& drawMgr,
                                  const MHWRender::MFrameContext&) {
    begin(&drawMgr);
    machine_.release(pointerEvent(event));
    return MStatus::kSuccess;
}

MStatus TessarkContext::doPtrMoved(MEvent& event, MHWRender::MUIDrawManager& drawMgr,
                                   const MHWRender::MFrameContext&) {
    begin(&drawMgr);
    machine_.pointerMoved(pointerEvent(event));
    return MStatus::kSuccess;
}

MStatus TessarkContext::drawFeedback(MHWRender::MUIDrawManager& drawMgr,
                                     const MHWRender::MFrameContext& context) {
    begin(&drawMgr);
    MDagPath viewCamera;
    M3dView::active3dView().getCamera(viewCamera);
    const bool active = context.getCurrentCameraPath() == viewCamera;
    return statusOf(machine_.drawFeedback(active));
}

void TessarkContext::deleteAction() {
    begin(nullptr);
    machine_.deleteAction();
}

void TessarkContext::completeAction() {
    begin(nullptr);
    machine_.completeAction();
}

void TessarkContext::abortAction() {
    begin(nullptr);
    machine_.abortAction();
}
