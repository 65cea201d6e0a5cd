#pragma once
// The narrow interface through which the tool's state machine acts on the
// scene. The tool context implements it with the plug-in's actions and its
// rail-node gateway; tests implement it with a fake that records each call.
// Positions are world space unless noted; vertex and edge ids are those of
// the retopology mesh, the first item of the active selection.

#include <optional>
#include <string>
#include <vector>

#include "geometry/border_mesh_view.h"
#include "geometry/point.h"
#include "geometry/stroke_set.h"

namespace tessark::tool {

//! The source mesh as a press finds it.
struct SourceMesh {
    bool valid = false;   // the rail node is connected to a node in the scene
    bool isMesh = false;  // and that node is a mesh
};

class ToolHost {
public:
    virtual ~ToolHost() = default;

    // ---- what the tool reads
    virtual SourceMesh sourceMesh() = 0;
    //! The front-facing point of the source mesh nearest the eye under a view position.
    virtual std::optional<geo::Point> captureSurfacePoint(short x, short y) = 0;
    //! The first border vertex (in vertex order) strictly within radius pixels, or -1.
    virtual int pickBorderVertex(double radius, short x, short y) = 0;
    //! The retopology mesh's border view; null when no mesh is selected.
    virtual const geo::BorderMeshView* retopologyView() = 0;
    //! A world point as a view position in pixels (x, y, 0, 1).
    virtual geo::Point projectToView(const geo::Point& world) = 0;

    // ---- the rail node
    virtual geo::StrokeSet strokes() = 0;
    virtual void appendStroke(const geo::Polyline& stroke) = 0;
    virtual void prependStroke(const geo::Polyline& stroke) = 0;
    virtual bool removeLastStroke() = 0;
    virtual void clearStrokeSet() = 0;
    virtual int shadowStrokeCount() = 0;
    //! The last shadow stroke (the last patch's far rail); empty when none.
    virtual geo::Polyline lastShadowStroke() = 0;
    virtual void clearShadowStrokes() = 0;
    virtual void saveNondestructStrokes() = 0;
    virtual void clearNondestructStrokes() = 0;
    virtual bool isLastPlayer() = 0;
    virtual void setIsLastPlayer(bool value) = 0;
    virtual void setLocked(bool value) = 0;
    virtual void setClose(bool value) = 0;
    virtual void clearNewFaces() = 0;
    //! "playerpts": the world positions of the pin vertices.
    virtual void sendPlayerPoints(const std::vector<int>& pins) = 0;
    //! "playersLine"; an empty line clears it.
    virtual void setPlayersLine(const geo::Polyline& line) = 0;
    //! "magnetPt": view positions; none clears it.
    virtual void setMagnetPreview(const std::vector<geo::Point>& pixels) = 0;
    virtual void sendFuse(const geo::Polyline& fusePoints, const geo::Polyline& fuseMesh,
                          const std::vector<unsigned>& triangles, bool bridge) = 0;
    virtual void clearFuse() = 0;

    // ---- the actions, each one undoable step
    virtual std::vector<int> createPatch(int uArg, const geo::Polyline& playerRow) = 0;
    virtual void redrawPatch(int u, int v, const geo::Polyline& stroke, bool scratch) = 0;
    //! Moves the player's vertices onto the stroke (a redraw-stroke command).
    virtual void redrawPlayerRow(const geo::Polyline& stroke, const std::vector<int>& player) = 0;
    virtual std::vector<int> bridgePatch(const std::vector<int>& playerEdges,
                                         const geo::Polyline& firstRail) = 0;
    //! Welds each player vertex to its weld vertex at the given target (a weld command).
    virtual void weld(const std::vector<int>& player, const std::vector<int>& weld,
                      const geo::Polyline& targets) = 0;
    //! Bridges the player's edges to the fuse loop's (a fusion command).
    virtual void bridgeLoops(const std::vector<int>& playerEdges, const std::vector<int>& fuseEdges,
                             int divisions) = 0;
    //! Merges two border vertices, then adds the mesh to the selection again.
    virtual void magnetMerge(int first, int second) = 0;
    //! Every vertex's position, in vertex order.
    virtual geo::Polyline retopologyPositions() = 0;
    //! The vertices the brush covers at a view position.
    virtual std::vector<int> brushSelect(short x, short y, double radius) = 0;
    //! One relax pass over the vertices, pressed back onto the source.
    virtual void brushRelaxStep(const std::vector<int>& vertices, double strength) = 0;
    //! The whole brush stroke as one undoable step (a brush-relax command).
    virtual void brushRelax(const geo::Polyline& before, const geo::Polyline& after) = 0;

    // ---- settings
    virtual int uSpans() = 0;
    virtual int vSpans() = 0;
    //! kv_bdiv, 1 when unset.
    virtual int bridgeDivisions() = 0;

    // ---- prompts, views and feedback
    //! The status ("Tessark_info1") and hint ("Tessark_info2") prompt lines.
    virtual void setStatus(const std::string& text) = 0;
    virtual void setHint(const std::string& text) = 0;
    //! The help string, the message and the cursor of an activated tool.
    virtual void announceActivation() = 0;
    virtual void refreshActiveView() = 0;
    virtual void refreshAllViews(bool force) = 0;
    virtual void drawStrokeFeedback(const std::string& label, const geo::Point& point,
                                    const geo::Polyline& liveStroke, double spinAngle,
                                    bool ctrlDrag) = 0;
    virtual void drawBrushCursor(short x, short y, double radius) = 0;
};

}  // namespace tessark::tool
