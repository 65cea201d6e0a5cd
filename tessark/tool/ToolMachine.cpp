#include "tessark/tool/ToolMachine.h"

#include <algorithm>

#include "geometry/border_walk.h"
#include "geometry/densify.h"
#include "tessark/tool/Prompts.h"

namespace tessark::tool {

namespace {

// Pick radii in view pixels: pins, bridge and weld loops; magnet points.
constexpr double kPinRadius = 9;
constexpr double kMagnetRadius = 11;
// Vertices this close to a point of the last shadow stroke lie on it.
constexpr double kOnRail = 0.0001;

bool noModifier(const PointerEvent& e) {
    return !e.modifiers.shift && !e.modifiers.ctrl;
}

}  // namespace

void ToolMachine::setPrompts(const char* hint, const char* status) {
    host_.setHint(hint);
    host_.setStatus(status);
}

// ---------------------------------------------------------------- setup, off

void ToolMachine::toolOnSetup() {
    host_.announceActivation();
    state_.brushMode = false;
    setPrompts(prompt::kDefaultHint, prompt::kActivated);
}

void ToolMachine::toolOffCleanup() {
    reset();
    setPrompts("", "");
}

void ToolMachine::reset() {
    host_.clearStrokeSet();
    if (hasPins())
        resetPlayer();
    else
        host_.refreshActiveView();
    state_.fuseVertices.clear();
    state_.fuseEdges.clear();
    host_.clearShadowStrokes();
    host_.setIsLastPlayer(false);
    host_.setPlayersLine({});
    host_.sendPlayerPoints(state_.playerStart);
    host_.clearFuse();
    host_.setMagnetPreview({});
    host_.clearNewFaces();
    host_.clearNondestructStrokes();
    setPrompts(prompt::kDefaultHint, "");
}

// ---------------------------------------------------------------- press, drag, release

void ToolMachine::press(const PointerEvent& event) {
    state_.pressPosition = {event.x, event.y};
    state_.redrawFlag = state_.pathFlag = false;
    state_.spinAngle = 0;
    state_.magnetPoints.clear();
    source_ = host_.sourceMesh();
    state_.liveStroke.clear();
    if (state_.brushMode) {
        state_.brushRestPositions = host_.retopologyPositions();
        return;
    }
    const auto& m = event.modifiers;
    if (event.button == Button::left && m.shift && m.ctrl) {
        pickPinPoint();
    } else if (event.button == Button::middle && noModifier(event)) {
        int v = host_.pickBorderVertex(kPinRadius, event.x, event.y);
        if (v >= 0 && state_.playerStart.size() == 2 && !onPlayer(v)) {
            state_.fuseVertices = fuseLoop(v);
            state_.weldVertices.clear();
            setPrompts("Press ENTER to create a polyBridge", "1 Bridge point is selected");
            updateFusePreview(true);
        }
        int magnet = host_.pickBorderVertex(kMagnetRadius, event.x, event.y);
        if (magnet >= 0 && state_.playerStart.empty()) {
            state_.magnetPoints = {magnet};
            setPrompts("DRAG pin magnet point to merge them", "1 magnet point has been found");
            updateMagnetPreview();
        }
    } else if (event.button == Button::middle && m.shift && !m.ctrl) {
        int v = host_.pickBorderVertex(kPinRadius, event.x, event.y);
        if (v >= 0 && state_.playerStart.size() == 2 && !onPlayer(v)) {
            state_.fuseVertices = fuseLoop(v);
            state_.weldVertices = state_.fuseVertices;
            setPrompts("Press ENTER to merge these vertex loops", "1 Weld point is selected");
            updateFusePreview(false);
        }
    }
    host_.refreshAllViews(true);
}

HandlerResult ToolMachine::drag(const PointerEvent& event) {
    state_.dragPosition = {event.x, event.y};
    if (state_.brushMode) {
        host_.brushRelaxStep(host_.brushSelect(event.x, event.y, state_.brushRadius),
                             state_.brushStrength);
        return HandlerResult::ok;
    }
    if (!sourceReady()) return HandlerResult::invalidParameter;
    const auto& m = event.modifiers;
    if (event.button == Button::left) {
        std::string label;
        std::optional<geo::Point> point = host_.captureSurfacePoint(event.x, event.y);
        if (point) {
            label = "Drawing stroke";
            state_.liveStroke.push_back(*point);
        }
        if (m.ctrl && !m.shift) {
            state_.redrawFlag = true;
            label = "Redraw last stroke";
        }
        if (m.shift && !m.ctrl) {
            state_.pathFlag = true;
            label = "Drawing bridge stroke";
        }
        state_.spinAngle += 0.12;
        host_.drawStrokeFeedback(label, point.value_or(geo::Point{}), state_.liveStroke,
                                 state_.spinAngle, state_.redrawFlag);
    } else if (event.button == Button::middle && noModifier(event)) {
        int magnet = host_.pickBorderVertex(kMagnetRadius, event.x, event.y);
        if (magnet >= 0 && state_.magnetPoints.size() == 1 && magnet != state_.magnetPoints[0]) {
            state_.magnetPoints = {state_.magnetPoints[0], magnet};
            updateMagnetPreview();
            setPrompts("Release to merge them", "2 magnet points selected");
        }
    }
    host_.refreshActiveView();
    return HandlerResult::ok;
}

void ToolMachine::release(const PointerEvent& event) {
    if (state_.brushMode) {
        host_.brushRelax(state_.brushRestPositions, host_.retopologyPositions());
        return;
    }
    if (state_.magnetPoints.size() == 2) {
        host_.magnetMerge(state_.magnetPoints[0], state_.magnetPoints[1]);
        state_.magnetPoints.clear();
        host_.setMagnetPreview({});
    }
    if (event.button == Button::left && !event.modifiers.ctrl) {
        if (sourceReady() && state_.liveStroke.size() >= 2) host_.appendStroke(state_.liveStroke);
        host_.refreshActiveView();
    }

    if (state_.redrawFlag) {
        // A Ctrl drag that found no surface point has nothing to redraw with.
        if (state_.liveStroke.empty()) return;
        if (!(host_.shadowStrokeCount() > 1 || hasPlayer())) return;
        const bool lastPlayer = host_.isLastPlayer();
        if (!hasPins() && !lastPlayer) {
            geo::Polyline dense = geo::densifyStroke(state_.liveStroke);
            host_.redrawPatch(host_.uSpans() + 1, host_.vSpans(), dense, true);
            host_.clearStrokeSet();
        } else if (hasPins() && lastPlayer) {
            host_.redrawPatch(host_.uSpans(), host_.vSpans(), state_.liveStroke, false);
            geo::Polyline rail = host_.lastShadowStroke();
            geo::Polyline positions = host_.retopologyPositions();
            std::vector<int> onRail;
            for (const geo::Point& p : rail)
                for (size_t v = 0; v < positions.size(); ++v)
                    if (geo::distance(positions[v], p) < kOnRail)
                        onRail.push_back(static_cast<int>(v));
            adoptPlayer(onRail);
            host_.clearStrokeSet();
        } else if (hasPins()) {
            std::vector<int> chain = playerChain();
            host_.redrawPlayerRow(state_.liveStroke, chain);
            host_.clearStrokeSet();
            adoptPlayer(chain);
        }
        return;
    }

    if (state_.pathFlag) {
        if (!hasPins()) return;
        std::vector<int> row = host_.bridgePatch(state_.playerEdges, playerPositions());
        adoptPlayer(row);
        host_.clearStrokeSet();
        host_.setIsLastPlayer(true);
        setPrompts("CTRL Click+Drag to redraw the patch", "rail-path created");
        host_.refreshActiveView();
        return;
    }

    if (!hasPins()) return;  // a drawn stroke waits for ENTER
    if (host_.strokes().sizes.empty()) return;
    geo::Polyline player = playerPositions();
    host_.prependStroke(player);
    if (player.size() >= 2) {
        host_.setIsLastPlayer(true);
        std::vector<int> row = host_.createPatch(static_cast<int>(player.size()) - 1, player);
        host_.clearStrokeSet();
        adoptPlayer(row);
    } else {
        adoptPlayer({});
    }
    setPrompts("CTRL Click+Drag to redraw the patch", "bi-rail Patch created");
    host_.refreshActiveView();
}

void ToolMachine::pointerMoved(const PointerEvent& event) {
    if (!state_.brushMode) return;
    state_.dragPosition = {event.x, event.y};
    host_.drawBrushCursor(event.x, event.y, state_.brushRadius);
}

// ---------------------------------------------------------------- keys

void ToolMachine::completeAction() {
    host_.setIsLastPlayer(false);
    host_.setLocked(true);
    setPrompts(prompt::kDefaultHint, "");
    if (!state_.fuseEdges.empty() && !state_.playerEdges.empty()) {
        if (!state_.weldVertices.empty()) {
            std::vector<int> chain = playerChain();
            const geo::BorderMeshView* view = host_.retopologyView();
            geo::Polyline targets =
                view ? geo::midpoints(*view, chain, state_.weldVertices) : geo::Polyline{};
            host_.weld(chain, state_.weldVertices, targets);
        } else {
            host_.bridgeLoops(state_.playerEdges, state_.fuseEdges, host_.bridgeDivisions());
        }
        host_.clearStrokeSet();
        resetPlayer();
        return;
    }
    if (state_.redrawFlag) {
        host_.clearStrokeSet();
        if (hasPins()) resetPlayer();
        host_.setIsLastPlayer(false);
        reset();
    } else if (state_.pathFlag) {
        if (hasPins()) {
            host_.clearStrokeSet();
            resetPlayer();
            host_.sendFuse({}, {}, {}, true);
        } else {
            reset();
        }
    } else if (!hasPins()) {
        if (host_.strokes().sizes.size() > 1) {
            host_.saveNondestructStrokes();
            host_.createPatch(-1, {});
            host_.clearStrokeSet();
        }
    } else {
        reset();
        resetPlayer();
        host_.clearNewFaces();
        host_.clearStrokeSet();
    }
}

void ToolMachine::deleteAction() {
    bool removed = host_.removeLastStroke();
    host_.clearShadowStrokes();
    if (!removed) {
        if (state_.fuseVertices.empty()) {
            deleteLastPin();
            host_.setPlayersLine({});
        } else {
            host_.clearFuse();
        }
        state_.fuseVertices.clear();
        state_.weldVertices.clear();
        state_.fuseEdges.clear();
        if (!state_.magnetPoints.empty()) {
            state_.magnetPoints.clear();
            host_.setMagnetPreview({});
        }
    }
    host_.refreshAllViews(true);
}

void ToolMachine::abortAction() {
    reset();
}

// ---------------------------------------------------------------- prompts

HandlerResult ToolMachine::drawFeedback(bool frameIsActiveCamera) {
    if (!sourceReady()) return HandlerResult::invalidParameter;
    if (!frameIsActiveCamera) return HandlerResult::ok;
    // The rows of the prompt table apply in order; a later match wins.
    const char* hint = prompt::kDefaultHint;
    const char* status = "";
    if (state_.playerStart.empty()) host_.setPlayersLine({});
    if (state_.playerStart.size() == 1) {
        hint = "select another point to create rail";
        status = "Select Mode: 1st point selected, BACKSPACE = remove last point";
    }
    if (state_.playerStart.size() >= 2) {
        hint =
            "Click+Drag to create a rail, Shift+Drag for a path, CTRL+Drag =redraw last patch, "
            "Middle+Click to polyBridge";
        status = "SelectMode: 2nd point selected,  BACKSPACE = remove last point, ENTER = complete";
    }
    if (!state_.fuseVertices.empty()) {
        hint = "Press ENTER to complete or select another pin-point";
        status = "PolyBridge Mode";
    }
    if (!state_.magnetPoints.empty()) {
        hint = "MIDDLE click another point = merge";
        status = "Merge Mode: 1 point selected";
    }
    setPrompts(hint, status);
    return HandlerResult::ok;
}

// ---------------------------------------------------------------- callbacks and edits

void ToolMachine::onUndo() {
    resetPlayer();
    setPrompts("", "");
}

void ToolMachine::onToolChanged() {
    host_.clearNewFaces();
    resetPlayer();
    setPrompts("", "");
}

void ToolMachine::refreshPlayer() {
    resetPlayer();
    if (state_.brushMode) host_.clearShadowStrokes();
    host_.refreshActiveView();
}

void ToolMachine::rebuildPlayer() {
    if (!hasPins()) return;
    adoptPlayer(playerChain());
}

void ToolMachine::enterBrushMode(double radius, double intensity) {
    state_.brushMode = true;
    state_.brushRadius = radius;
    state_.brushStrength = 4 * intensity;
    setPrompts("Click+Drag on the mesh to relax its points", "Brush Relax Mode");
}

// ---------------------------------------------------------------- player and previews

void ToolMachine::resetPlayer() {
    if (hasPins()) {
        state_.playerStart.clear();
        state_.fuseVertices.clear();
        state_.weldVertices.clear();
        state_.fuseEdges.clear();
    } else {
        host_.refreshActiveView();
    }
    state_.fuseEdges.clear();
    host_.sendPlayerPoints({});
    host_.clearFuse();
}

bool ToolMachine::hasPlayer() {
    if (hasPins()) return true;
    host_.refreshActiveView();
    return false;
}

std::vector<int> ToolMachine::playerChain() {
    const geo::BorderMeshView* view = host_.retopologyView();
    if (!view || state_.playerStart.empty()) return {};
    return geo::vertexChain(*view, state_.playerEdges, state_.playerStart[0]);
}

geo::Polyline ToolMachine::playerPositions() {
    const geo::BorderMeshView* view = host_.retopologyView();
    if (!view || state_.playerStart.empty()) return {};
    return geo::playerPositions(*view, {state_.playerEdges, state_.playerStart[0]});
}

std::vector<int> ToolMachine::borderRange(int a, int b) {
    const geo::BorderMeshView* view = host_.retopologyView();
    // Without a mesh the walk answers with its five zeros.
    if (!view) return {0, 0, 0, 0, 0};
    return geo::borderRange(*view, a, b);
}

bool ToolMachine::onPlayer(int vertex) {
    // A loop run from the player's own border would bridge or weld the
    // player onto itself: such a pick selects nothing.
    const std::vector<int> chain = playerChain();
    return std::find(chain.begin(), chain.end(), vertex) != chain.end();
}

std::vector<int> ToolMachine::fuseLoop(int clickedVertex) {
    const geo::BorderMeshView* view = host_.retopologyView();
    if (!view || state_.playerStart.empty()) {
        state_.fuseEdges.clear();
        return {};
    }
    geo::FuseLoop loop =
        geo::fuseLoop(*view, {state_.playerEdges, state_.playerStart[0]}, clickedVertex);
    state_.fuseEdges = loop.edges;
    return loop.vertices;
}

void ToolMachine::adoptPlayer(const std::vector<int>& vertices) {
    if (vertices.empty()) return;
    state_.playerStart = {vertices.front(), vertices.back()};
    state_.playerEdges = borderRange(vertices.front(), vertices.back());
    updatePlayerLine();
    host_.sendPlayerPoints(state_.playerStart);
}

void ToolMachine::pickPinPoint() {
    host_.setClose(false);
    int v = host_.pickBorderVertex(kPinRadius, state_.pressPosition.x, state_.pressPosition.y);
    if (v >= 0) {
        if (!state_.playerStart.empty()) {
            state_.playerStart = {state_.playerStart[0], v};
            setPrompts(
                "DRAG = BI-Rail surface,SHIFT+Drag = Path-Railsurface,CTRL+Drag = Redraw last "
                "line,MIDDLE click on another point = create a polyBridge",
                "2 pin-points are selected, BACKSPACE to del this last pin");
            host_.clearShadowStrokes();
            host_.setIsLastPlayer(false);
        } else {
            state_.playerStart = {v};
            setPrompts("Select another pin point to have a Rail-line",
                       "1 pin-point has been selected, BACKSPACE to del this pin");
        }
        host_.sendPlayerPoints(state_.playerStart);
    }
    if (state_.playerStart.size() == 2) {
        state_.playerEdges = borderRange(state_.playerStart[0], state_.playerStart[1]);
        updatePlayerLine();
    }
    if (!state_.weldVertices.empty()) {
        state_.weldVertices = fuseLoop(state_.weldVertices[0]);
        if (!state_.fuseVertices.empty()) state_.fuseVertices = fuseLoop(state_.fuseVertices[0]);
    } else if (!state_.fuseVertices.empty()) {
        state_.fuseVertices = fuseLoop(state_.fuseVertices[0]);
    }
    updateFusePreview(true);
}

void ToolMachine::deleteLastPin() {
    if (state_.playerStart.size() >= 2) {
        state_.playerStart = {state_.playerStart[0]};
        state_.playerEdges.clear();
        host_.sendPlayerPoints(state_.playerStart);
        updatePlayerLine();
        host_.refreshActiveView();
    } else if (state_.playerStart.size() == 1) {
        state_.playerStart.clear();
        updatePlayerLine();
        host_.sendPlayerPoints({});
        host_.refreshActiveView();
    } else {
        setPrompts(prompt::kDefaultHint, "");
    }
}

void ToolMachine::updatePlayerLine() {
    if (state_.playerStart.size() < 2) {
        host_.setPlayersLine({});
        return;
    }
    const geo::BorderMeshView* view = host_.retopologyView();
    if (!view) return;
    host_.setPlayersLine(geo::vertexPositions(*view, playerChain()));
}

void ToolMachine::updateFusePreview(bool bridge) {
    if (state_.fuseEdges.empty()) {
        host_.sendFuse({}, {}, {}, bridge);
        return;
    }
    const geo::BorderMeshView* view = host_.retopologyView();
    if (!view) return;
    geo::Polyline fuse = geo::vertexPositions(*view, state_.fuseVertices);
    geo::Polyline player = playerPositions();
    // A fuse loop cut short by the end of the border pairs with as much of
    // the player as it reaches.
    const size_t n = std::min(fuse.size(), player.size());
    fuse.resize(n);
    player.resize(n);
    geo::Polyline mesh = player;
    mesh.insert(mesh.end(), fuse.begin(), fuse.end());
    std::vector<unsigned> triangles;
    for (size_t k = 0; k + 1 < n; ++k) {
        const auto m = static_cast<unsigned>(n), i = static_cast<unsigned>(k);
        triangles.insert(triangles.end(), {m + i, i, i + 1, m + i, i + 1, m + i + 1});
    }
    host_.sendFuse(fuse, mesh, triangles, bridge);
}

void ToolMachine::updateMagnetPreview() {
    const geo::BorderMeshView* view = host_.retopologyView();
    std::vector<geo::Point> pixels;
    for (int m : state_.magnetPoints)
        pixels.push_back(host_.projectToView(view ? geo::vertexPosition(*view, m) : geo::Point{}));
    host_.setMagnetPreview(pixels);
}

}  // namespace tessark::tool
