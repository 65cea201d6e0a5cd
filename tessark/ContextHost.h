#pragma once
// The rail tool's state machine acting on the host: surface capture, border
// picks and walks on the selected retopology mesh, the rail node through its
// gateway, the patch actions, and the tool commands the context hands out.

#include <maya/MDagPath.h>
#include <maya/MUIDrawManager.h>

#include <optional>

#include "geometry/border_mesh_view.h"
#include "tessark/tool/ToolHost.h"

class MPxContext;

namespace tessark {

class ContextHost : public tool::ToolHost {
public:
    explicit ContextHost(MPxContext& context) : context_(context) {}

    //! The draw manager of the handler running now (drag and pointer move
    //! draw their feedback into it); null between handlers.
    void setDrawManager(MHWRender::MUIDrawManager* drawManager) { drawManager_ = drawManager; }
    //! The retopology mesh may have changed: read it again when next needed.
    void forgetMesh() { view_.reset(); }

    tool::SourceMesh sourceMesh() override;
    std::optional<geo::Point> captureSurfacePoint(short x, short y) override;
    int pickBorderVertex(double radius, short x, short y) override;
    const geo::BorderMeshView* retopologyView() override;
    geo::Point projectToView(const geo::Point& world) override;

    geo::StrokeSet strokes() override;
    void appendStroke(const geo::Polyline& stroke) override;
    void prependStroke(const geo::Polyline& stroke) override;
    bool removeLastStroke() override;
    void clearStrokeSet() override;
    int shadowStrokeCount() override;
    geo::Polyline lastShadowStroke() override;
    void clearShadowStrokes() override;
    void saveNondestructStrokes() override;
    void clearNondestructStrokes() override;
    bool isLastPlayer() override;
    void setIsLastPlayer(bool value) override;
    void setLocked(bool value) override;
    void setClose(bool value) override;
    void clearNewFaces() override;
    void sendPlayerPoints(const std::vector<int>& pins) override;
    void setPlayersLine(const geo::Polyline& line) override;
    void setMagnetPreview(const std::vector<geo::Point>& pixels) override;
    void sendFuse(const geo::Polyline& fusePoints, const geo::Polyline& fuseMesh,
                  const std::vector<unsigned>& triangles, bool bridge) override;
    void clearFuse() override;

    std::vector<int> createPatch(int uArg, const geo::Polyline& playerRow) override;
    void redrawPatch(int u, int v, const geo::Polyline& stroke, bool scratch) override;
    void redrawPlayerRow(const geo::Polyline& stroke, const std::vector<int>& player) override;
    std::vector<int> bridgePatch(const std::vector<int>& playerEdges,
                                 const geo::Polyline& firstRail) override;
    void weld(const std::vector<int>& player, const std::vector<int>& weld,
              const geo::Polyline& targets) override;
    void bridgeLoops(const std::vector<int>& playerEdges, const std::vector<int>& fuseEdges,
                     int divisions) override;
    void magnetMerge(int first, int second) override;
    geo::Polyline retopologyPositions() override;
    std::vector<int> brushSelect(short x, short y, double radius) override;
    void brushRelaxStep(const std::vector<int>& vertices, double strength) override;
    void brushRelax(const geo::Polyline& before, const geo::Polyline& after) override;

    int uSpans() override;
    int vSpans() override;
    int bridgeDivisions() override;

    void setStatus(const std::string& text) override;
    void setHint(const std::string& text) override;
    void announceActivation() override;
    void refreshActiveView() override;
    void refreshAllViews(bool force) override;
    void drawStrokeFeedback(const std::string& label, const geo::Point& point,
                            const geo::Polyline& liveStroke, double spinAngle,
                            bool ctrlDrag) override;
    void drawBrushCursor(short x, short y, double radius) override;

private:
    MStatus runCommandAction(int kind, const MString& text);

    MPxContext& context_;
    MHWRender::MUIDrawManager* drawManager_ = nullptr;
    MDagPath source_;
    std::optional<geo::BorderMeshView> view_;
    MDagPath viewMesh_;
};

}  // namespace tessark
