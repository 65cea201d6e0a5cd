#pragma once
// A scene for the tool's state machine without the host: a flat grid of
// quads as the retopology mesh, seen from above so that vertex (i, j) sits at
// pixel (100 + 20 i, 100 + 20 j), a source surface that every ray hits, and a
// rail node that is a stroke set and a log of everything the tool asked for.

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "geometry/border_mesh_view.h"
#include "geometry/stroke_set.h"
#include "tessark/tool/ToolHost.h"

class FakeToolHost : public tessark::tool::ToolHost {
public:
    //! An n x n grid of quads, vertex (i, j) = i + (n + 1) j at (i, 0, j).
    explicit FakeToolHost(int n = 4) : n_(n) {
        std::vector<geo::Point> positions;
        for (int j = 0; j <= n; ++j)
            for (int i = 0; i <= n; ++i) positions.push_back({double(i), 0, double(j)});
        std::vector<std::vector<int>> quads;
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                int a = i + (n + 1) * j;
                quads.push_back({a, a + 1, a + n + 2, a + n + 1});
            }
        view_ = geo::makeBorderMeshView(positions, quads);
    }

    int vertex(int i, int j) const { return i + (n_ + 1) * j; }
    //! The pixel of vertex (i, j).
    static short px(int i) { return static_cast<short>(100 + 20 * i); }

    // What the tool asked for, in order, one short line each.
    std::vector<std::string> log;
    bool logged(const std::string& entry) const {
        return std::find(log.begin(), log.end(), entry) != log.end();
    }
    size_t count(const std::string& prefix) const {
        return std::count_if(log.begin(), log.end(),
                             [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    }

    tessark::tool::SourceMesh source{true, true};
    bool meshSelected = true;
    bool surfaceUnderCursor = true;
    geo::StrokeSet strokeSet;
    int shadowStrokes = 0;
    bool lastPlayer = false;
    std::string hint, status;
    std::vector<int> createdRow;  // what createPatch and bridgePatch return

    // ---- reads
    tessark::tool::SourceMesh sourceMesh() override { return source; }
    std::optional<geo::Point> captureSurfacePoint(short x, short y) override {
        if (!surfaceUnderCursor) return std::nullopt;
        return geo::Point{(x - 100) / 20.0, 0, (y - 100) / 20.0};
    }
    int pickBorderVertex(double radius, short x, short y) override {
        for (int v = 0; v < static_cast<int>(view_.positions.size()); ++v) {
            double dx = px(static_cast<int>(view_.positions[v].x)) - x;
            double dy = px(static_cast<int>(view_.positions[v].z)) - y;
            if (dx * dx + dy * dy >= radius * radius) continue;
            for (int e : view_.edgesAround(v))
                if (view_.boundary[static_cast<size_t>(e)]) return v;
        }
        return -1;
    }
    const geo::BorderMeshView* retopologyView() override { return meshSelected ? &view_ : nullptr; }
    geo::Point projectToView(const geo::Point& p) override {
        return {100 + 20 * p.x, 100 + 20 * p.z, 0, 1};
    }

    // ---- rail node
    geo::StrokeSet strokes() override { return strokeSet; }
    void appendStroke(const geo::Polyline& s) override {
        geo::appendStroke(strokeSet, s);
        log.push_back("appendStroke " + std::to_string(s.size()));
    }
    void prependStroke(const geo::Polyline& s) override {
        geo::prependStroke(strokeSet, s);
        log.push_back("prependStroke " + std::to_string(s.size()));
    }
    bool removeLastStroke() override {
        bool removed = geo::removeLastStroke(strokeSet);
        if (removed) log.push_back("removeLastStroke");
        return removed;
    }
    void clearStrokeSet() override {
        strokeSet = {};
        log.push_back("clearStrokeSet");
    }
    int shadowStrokeCount() override { return shadowStrokes; }
    geo::Polyline lastShadowStroke() override { return {}; }
    void clearShadowStrokes() override { shadowStrokes = 0; }
    void saveNondestructStrokes() override { log.push_back("saveNondestructStrokes"); }
    void clearNondestructStrokes() override {}
    bool isLastPlayer() override { return lastPlayer; }
    void setIsLastPlayer(bool v) override { lastPlayer = v; }
    void setLocked(bool v) override { log.push_back(v ? "lock" : "unlock"); }
    void setClose(bool) override {}
    void clearNewFaces() override {}
    void sendPlayerPoints(const std::vector<int>& pins) override { playerPoints = pins; }
    void setPlayersLine(const geo::Polyline& line) override { playersLine = line; }
    void setMagnetPreview(const std::vector<geo::Point>& pixels) override {
        magnetPreview = pixels;
    }
    void sendFuse(const geo::Polyline& points, const geo::Polyline& mesh,
                  const std::vector<unsigned>& triangles, bool bridge) override {
        fusePoints = points;
        fuseMesh = mesh;
        fuseTriangles = triangles;
        fuseBridge = bridge;
    }
    void clearFuse() override {
        fusePoints.clear();
        fuseMesh.clear();
        fuseTriangles.clear();
    }

    // ---- actions
    std::vector<int> createPatch(int uArg, const geo::Polyline& row) override {
        log.push_back("createPatch " + std::to_string(uArg) + " " + std::to_string(row.size()));
        return createdRow;
    }
    void redrawPatch(int u, int v, const geo::Polyline&, bool scratch) override {
        log.push_back("redrawPatch " + std::to_string(u) + " " + std::to_string(v) +
                      (scratch ? " scratch" : ""));
    }
    void redrawPlayerRow(const geo::Polyline&, const std::vector<int>& player) override {
        log.push_back("redrawPlayerRow " + std::to_string(player.size()));
    }
    std::vector<int> bridgePatch(const std::vector<int>& edges, const geo::Polyline&) override {
        log.push_back("bridgePatch " + std::to_string(edges.size()));
        return createdRow;
    }
    void weld(const std::vector<int>& player, const std::vector<int>& weld,
              const geo::Polyline& targets) override {
        log.push_back("weld " + std::to_string(player.size()) + " " + std::to_string(weld.size()) +
                      " " + std::to_string(targets.size()));
    }
    void bridgeLoops(const std::vector<int>& a, const std::vector<int>& b, int n) override {
        log.push_back("bridgeLoops " + std::to_string(a.size()) + " " + std::to_string(b.size()) +
                      " " + std::to_string(n));
    }
    void magnetMerge(int a, int b) override {
        log.push_back("magnetMerge " + std::to_string(a) + " " + std::to_string(b));
    }
    geo::Polyline retopologyPositions() override { return view_.positions; }
    std::vector<int> brushSelect(short, short, double) override { return {6, 7}; }
    void brushRelaxStep(const std::vector<int>& v, double strength) override {
        log.push_back("brushRelaxStep " + std::to_string(v.size()) + " " +
                      std::to_string(strength));
    }
    void brushRelax(const geo::Polyline& before, const geo::Polyline& after) override {
        log.push_back("brushRelax " + std::to_string(before.size()) + " " +
                      std::to_string(after.size()));
    }

    // ---- settings, prompts, views
    int uSpans() override { return 12; }
    int vSpans() override { return 12; }
    int bridgeDivisions() override { return 1; }
    void setStatus(const std::string& text) override { status = text; }
    void setHint(const std::string& text) override { hint = text; }
    void announceActivation() override { log.push_back("activated"); }
    void refreshActiveView() override {}
    void refreshAllViews(bool) override {}
    void drawStrokeFeedback(const std::string& label, const geo::Point&, const geo::Polyline&,
                            double, bool) override {
        lastLabel = label;
    }
    void drawBrushCursor(short, short, double) override { log.push_back("brushCursor"); }

    std::vector<int> playerPoints;
    geo::Polyline playersLine, fusePoints, fuseMesh;
    std::vector<unsigned> fuseTriangles;
    bool fuseBridge = true;
    std::vector<geo::Point> magnetPreview;
    std::string lastLabel;

private:
    int n_;
    geo::BorderMeshView view_;
};
