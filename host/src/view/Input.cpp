// Input for the current tool: pointer events and keys, in the active panel.

#include <maya/MPxContext.h>

#include "host/src/core/Guard.h"
#include "host/src/view/Views.h"

namespace ehost {

namespace {

using Vp2Handler = MStatus (MPxContext::*)(MEvent&, MHWRender::MUIDrawManager&,
                                           const MHWRender::MFrameContext&);
using OldHandler = MStatus (MPxContext::*)(MEvent&);

struct Handlers {
    Vp2Handler vp2;
    OldHandler old;
};

Handlers handlersFor(PointerEvent::Kind kind) {
    switch (kind) {
        case PointerEvent::Kind::Press:
            return {static_cast<Vp2Handler>(&MPxContext::doPress),
                    static_cast<OldHandler>(&MPxContext::doPress)};
        case PointerEvent::Kind::Drag:
            return {static_cast<Vp2Handler>(&MPxContext::doDrag),
                    static_cast<OldHandler>(&MPxContext::doDrag)};
        case PointerEvent::Kind::Release:
            return {static_cast<Vp2Handler>(&MPxContext::doRelease),
                    static_cast<OldHandler>(&MPxContext::doRelease)};
        case PointerEvent::Kind::Move:
            return {static_cast<Vp2Handler>(&MPxContext::doPtrMoved),
                    static_cast<OldHandler>(&MPxContext::doPtrMoved)};
        case PointerEvent::Kind::Hold:
            return {static_cast<Vp2Handler>(&MPxContext::doHold),
                    static_cast<OldHandler>(&MPxContext::doHold)};
    }
    return {nullptr, nullptr};
}

//! The Viewport 2.0 form of the handler, or the older one when the tool did
//! not override the newer (the base class's newer form says so).
MStatus callHandler(MPxContext& context, PointerEvent::Kind kind, MEvent& event,
                    MHWRender::MUIDrawManager& manager, const MHWRender::MFrameContext& frame) {
    Handlers h = handlersFor(kind);
    bool& fallback = ApiAccess::impl(context).fallback;
    fallback = false;
    MStatus st = (context.*h.vp2)(event, manager, frame);
    if (!fallback) return st;
    fallback = false;
    return (context.*h.old)(event);
}

const char* handlerName(PointerEvent::Kind kind) {
    switch (kind) {
        case PointerEvent::Kind::Press:
            return "doPress";
        case PointerEvent::Kind::Drag:
            return "doDrag";
        case PointerEvent::Kind::Release:
            return "doRelease";
        case PointerEvent::Kind::Move:
            return "doPtrMoved";
        case PointerEvent::Kind::Hold:
            return "doHold";
    }
    return "a handler";
}

}  // namespace

MStatus Views::deliver(const PointerEvent& event, MStatus* handlerStatus) {
    Tool* tool = tools_.current();
    if (!tool)
        return MStatus(MStatus::kFailure, "there is no current tool (choose one with setToolTo)");
    Panel& panel = *active_;
    if (!panel.hasCamera())
        return MStatus(MStatus::kFailure, "panel " + panel.name + " has no camera to look through");
    if (event.x < 0 || event.y < 0 || event.x >= panel.width || event.y >= panel.height)
        return MStatus(MStatus::kInvalidParameter, "(" + std::to_string(event.x) + ", " +
                                                       std::to_string(event.y) +
                                                       ") is outside the port of " + panel.name +
                                                       " (" + std::to_string(panel.width) + " x " +
                                                       std::to_string(panel.height) + ")");
    FrameInfo info;
    info.panel = panel.name;
    info.camera = panel.camera;
    panel.viewFrame(info.view);
    MEvent mevent;
    auto& e = ApiAccess::impl(mevent);
    e.x = event.x;
    e.y = event.y;
    e.button = event.button;
    e.modifiers = event.modifiers;
    // Recorded aside: the handler may run commands that change the panels.
    Drawable drawing{Drawable::Source::ToolEvent, tool->name, {}};
    MStatus st;
    {
        DrawRecorder recorder(drawing);
        MHWRender::MUIDrawManager manager(recorder);
        MHWRender::MFrameContext frame(info);
        // Named from the drawable: the handler may delete its own tool.
        st = guarded(
            [&] { return drawing.name + "." + handlerName(event.kind); },
            [&] { return callHandler(*tool->context, event.kind, mevent, manager, frame); });
    }
    if (handlerStatus) *handlerStatus = st;
    if (Panel* after = findPanel(info.panel)) {
        after->toolEvent = std::move(drawing);
        if (after->hasCamera()) refresh(*after);
    }
    return MStatus::kSuccess;
}

MStatus Views::deliver(ToolKey key) {
    Tool* tool = tools_.current();
    if (!tool)
        return MStatus(MStatus::kFailure, "there is no current tool (choose one with setToolTo)");
    active_->toolEvent = Drawable{Drawable::Source::ToolEvent, tool->name, {}};
    MPxContext& context = *tool->context;
    switch (key) {
        case ToolKey::Enter:
            guarded(tool->name + ".completeAction", [&] { context.completeAction(); });
            break;
        case ToolKey::Backspace:
            guarded(tool->name + ".deleteAction", [&] { context.deleteAction(); });
            break;
        case ToolKey::Escape:
            guarded(tool->name + ".abortAction", [&] { context.abortAction(); });
            break;
    }
    if (active_->hasCamera()) refresh(*active_);
    return MStatus::kSuccess;
}

}  // namespace ehost
