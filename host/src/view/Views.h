#pragma once
// The views of the session: model panels and the active one, tool contexts
// and their input, draw overrides and render overrides, and the refresh that
// draws a panel. Everything a plug-in made here is deleted before the
// plug-in goes.

#include <maya/MEvent.h>
#include <maya/MStatus.h>

#include <memory>
#include <string>
#include <vector>

#include "host/src/view/DrawOverrides.h"
#include "host/src/view/Panel.h"
#include "host/src/view/RenderOverrides.h"
#include "host/src/view/Tools.h"

namespace ehost {

//! A pointer event for the current tool, in view pixels of the active panel.
struct PointerEvent {
    enum class Kind { Press, Drag, Release, Move, Hold };
    Kind kind = Kind::Press;
    short x = 0, y = 0;
    MEvent::MouseButtonType button = MEvent::kLeftMouse;
    unsigned int modifiers = 0;  // MEvent::shiftKey | MEvent::controlKey
};

enum class ToolKey { Enter, Backspace, Escape };

class Views {
public:
    static constexpr const char* kDefaultPanel = "modelPanel4";

    Views();
    ~Views();
    Views(const Views&) = delete;
    Views& operator=(const Views&) = delete;

    // ---- panels ----
    const std::vector<std::unique_ptr<Panel>>& panels() const { return panels_; }
    Panel* findPanel(const std::string& name) const;
    Panel& activePanel() { return *active_; }
    MStatus addPanel(const std::string& name, DagNode& camera);
    MStatus setActivePanel(const std::string& name);
    //! Changing a panel's camera or renderer fires "modelEditorChanged".
    MStatus setPanelCamera(Panel& panel, DagNode& camera);
    MStatus setPanelRenderer(Panel& panel, const std::string& overrideName);
    MStatus setPanelSize(Panel& panel, int width, int height);

    // ---- drawing ----
    //! Draws the panel now: its render override's operations (or the normal
    //! renderer's), the draw overrides of the visible nodes and, in the active
    //! panel, the current tool's feedback. A refresh asked for while the same
    //! panel is being drawn does nothing.
    MStatus refresh(Panel& panel);
    MStatus refreshAll();

    // ---- tools and input ----
    Tools& tools() { return tools_; }
    //! Hands an event to the current tool in the active panel, then redraws
    //! the panel (the host's idle redraw). handlerStatus gets what the tool's
    //! handler returned; the result itself fails only when the event could not
    //! be delivered (no current tool, outside the port, no camera).
    MStatus deliver(const PointerEvent& event, MStatus* handlerStatus = nullptr);
    MStatus deliver(ToolKey key);

    // ---- overrides ----
    DrawOverrides& drawOverrides() { return drawOverrides_; }
    RenderOverrides& renderOverrides() { return renderOverrides_; }
    MStatus removeRenderOverride(const MHWRender::MRenderOverride* override);

    // ---- life cycle ----
    //! After a new scene: one panel, modelPanel4 (640 x 480, the normal
    //! renderer), looking through persp; the overrides of the old scene's
    //! nodes deleted. Tools stay.
    void resetForNewScene();
    //! Deletes everything a plug-in registered or made here (before it unloads).
    void forgetPlugin(const std::string& plugin);
    //! Deletes every plug-in object held here (the session is ending).
    void clear();

private:
    void panelsUsingRendererReset(const std::string& overrideName);
    std::vector<std::unique_ptr<Panel>> panels_;
    Panel* active_ = nullptr;
    Tools tools_;
    DrawOverrides drawOverrides_;
    RenderOverrides renderOverrides_;
    //! While the session ends: the tools switched off then may ask for a
    //! redraw, but nothing is drawn any more.
    bool closing_ = false;
};

//! The running session's views.
Views& theViews();

}  // namespace ehost
