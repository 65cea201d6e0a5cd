#pragma once
// The rail tool's state machine: the tool context's handlers, host-free.
// Events come in as plain values; every effect on the scene goes out through
// the ToolHost. It keeps only the transient gesture state (ContextState).

#include <vector>

#include "tessark/tool/ContextState.h"
#include "tessark/tool/ToolEvents.h"
#include "tessark/tool/ToolHost.h"

namespace tessark::tool {

//! What a handler reports back to the host: drag and the prompt refresh
//! refuse to work without a source mesh to draw on.
enum class HandlerResult { ok, invalidParameter };

class ToolMachine {
public:
    explicit ToolMachine(ToolHost& host) : host_(host) {}

    ContextState& state() { return state_; }
    const ContextState& state() const { return state_; }
    ToolState where() const { return toolState(state_); }

    // ---- the context's handlers
    void toolOnSetup();
    void toolOffCleanup();
    void press(const PointerEvent& event);
    HandlerResult drag(const PointerEvent& event);
    void release(const PointerEvent& event);
    void pointerMoved(const PointerEvent& event);
    //! The prompt refresh, on each redraw of a view; frameIsActiveCamera tells
    //! whether the view being drawn looks through the active view's camera.
    HandlerResult drawFeedback(bool frameIsActiveCamera);
    void deleteAction();    // BACKSPACE
    void completeAction();  // ENTER
    void abortAction();     // Escape

    // ---- the host's event callbacks
    void onUndo();
    void onToolChanged();

    // ---- what the context command edits
    //! -refresh: drops the player (and, in brush mode, the shadow strokes).
    void refreshPlayer();
    //! -refreshPlayer: the pins again at the ends of the player's own border
    //! run; nothing without a pin.
    void rebuildPlayer();
    //! -relaxBrush: radius in view pixels, intensity as given (strength is four times it).
    void enterBrushMode(double radius, double intensity);

    // ---- the player and its previews
    void resetPlayer();
    bool hasPlayer();
    void adoptPlayer(const std::vector<int>& vertices);
    //! The player's vertex chain, from the first pin.
    std::vector<int> playerChain();

private:
    bool sourceReady() const { return source_.valid && source_.isMesh; }
    bool hasPins() const { return !state_.playerStart.empty(); }
    void reset();
    void pickPinPoint();
    void deleteLastPin();
    void updatePlayerLine();
    void updateFusePreview(bool bridge);
    void updateMagnetPreview();
    std::vector<int> borderRange(int a, int b);
    std::vector<int> fuseLoop(int clickedVertex);
    //! Whether a vertex is on the player's vertex chain.
    bool onPlayer(int vertex);
    geo::Polyline playerPositions();
    void setPrompts(const char* hint, const char* status);

    ToolHost& host_;
    ContextState state_;
    SourceMesh source_;
};

}  // namespace tessark::tool
