#include "tessark/ContextHost.h"

#include <maya/M3dView.h>
#include <maya/MColor.h>
#include <maya/MCursor.h>
#include <maya/MFnCamera.h>
#include <maya/MFnMesh.h>
#include <maya/MGlobal.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MItMeshVertex.h>
#include <maya/MPointArray.h>
#include <maya/MPxContext.h>

#include <algorithm>
#include <cmath>

#include "kvpatchnode/StateSenders.h"
#include "patch/BorderView.h"
#include "patch/Bridge.h"
#include "patch/FusionCommands.h"
#include "patch/PatchPipeline.h"
#include "patch/RelaxBrush.h"
#include "patch/SpanChange.h"
#include "patch/SurfaceSnap.h"
#include "patch/ToolAction.h"
#include "railnode/RailNodeOps.h"
#include "tessark/TessarkToolCmd.h"
#include "tessark/tool/Prompts.h"

namespace tessark {

namespace {

using MHWRender::MUIDrawManager;

MDagPath retopologyMesh() {
    MDagPath mesh;
    selectedRetopologyMesh(mesh);
    return mesh;
}

MPoint toPoint(const geo::Point& p) {
    return MPoint(p.x, p.y, p.z, p.w);
}

MPoint eyePoint(M3dView& view) {
    MDagPath camera;
    view.getCamera(camera);
    return MFnCamera(camera).eyePoint(MSpace::kWorld);
}

//! A face of the source mesh faces the camera when its normal does not point
//! away from the eye: (centre - eye) . normal <= 0.
bool isFrontFacing(MItMeshPolygon& face, int faceId, const MPoint& eye) {
    int previous = 0;
    if (!face.setIndex(faceId, previous)) return false;
    MVector normal;
    face.getNormal(normal, MSpace::kWorld);
    return (face.center(MSpace::kWorld) - eye) * normal <= 0;
}

std::vector<int> toInts(const MIntArray& values) {
    return toIntVector(values);
}

}  // namespace

// ---------------------------------------------------------------- reads

tool::SourceMesh ContextHost::sourceMesh() {
    source_ = sourceMeshPath();
    return {source_.isValid(), source_.isValid() && source_.hasFn(MFn::kMesh)};
}

std::optional<geo::Point> ContextHost::captureSurfacePoint(short x, short y) {
    M3dView view = M3dView::active3dView();
    MPoint near;
    MVector direction;
    if (!view.viewToWorld(x, y, near, direction)) return std::nullopt;
    MStatus status;
    MFnMesh source(source_, &status);
    if (!status) return std::nullopt;
    MPointArray hits;
    MIntArray faces;
    source.intersect(near, direction, hits, 0.00001, MSpace::kWorld, &faces);
    const MPoint eye = eyePoint(view);
    MItMeshPolygon face(source_, MObject::kNullObj, &status);
    if (!status) return std::nullopt;
    double best = 9999999;
    std::optional<geo::Point> found;
    for (unsigned i = 0; i < hits.length() && i < faces.length(); ++i) {
        if (!isFrontFacing(face, faces[i], eye)) continue;
        double d = eye.distanceTo(hits[i]);
        // An equal distance keeps the hit met first.
        if (d < best) {
            best = d;
            found = geo::Point{hits[i].x, hits[i].y, hits[i].z, 1.0};
        }
    }
    return found;
}

int ContextHost::pickBorderVertex(double radius, short x, short y) {
    MDagPath mesh = retopologyMesh();
    if (!mesh.isValid() || !mesh.hasFn(MFn::kMesh)) return -1;
    // Every vertex is projected, in vertex order; only one near enough is
    // asked whether it lies on the border, so a pick does not read the mesh's
    // whole edge structure.
    MPointArray positions;
    if (!MFnMesh(mesh).getPoints(positions, MSpace::kWorld)) return -1;
    MStatus status;
    MItMeshVertex vertex(mesh, MObject::kNullObj, &status);
    if (!status) return -1;
    M3dView active = M3dView::active3dView();
    const double r2 = radius * radius;
    for (unsigned v = 0; v < positions.length(); ++v) {
        short px = 0, py = 0;
        active.worldToView(positions[v], px, py);
        const double dx = px - x, dy = py - y;
        if (dx * dx + dy * dy >= r2) continue;
        int previous = 0;
        if (vertex.setIndex(static_cast<int>(v), previous) && vertex.onBoundary())
            return static_cast<int>(v);
    }
    return -1;
}

const geo::BorderMeshView* ContextHost::retopologyView() {
    MDagPath mesh = retopologyMesh();
    if (!mesh.isValid() || !mesh.hasFn(MFn::kMesh)) return nullptr;
    if (!view_ || !(viewMesh_ == mesh)) {
        view_ = readBorderMeshView(mesh);
        viewMesh_ = mesh;
    }
    return &*view_;
}

geo::Point ContextHost::projectToView(const geo::Point& world) {
    short x = 0, y = 0;
    M3dView::active3dView().worldToView(toPoint(world), x, y);
    return {static_cast<double>(x), static_cast<double>(y), 0, 1};
}

// ---------------------------------------------------------------- the rail node

geo::StrokeSet ContextHost::strokes() {
    return RailNode::find().strokes(RailStrokes::current);
}
void ContextHost::appendStroke(const geo::Polyline& stroke) {
    tessark::appendStroke(toPointArray(stroke));
}
void ContextHost::prependStroke(const geo::Polyline& stroke) {
    tessark::prependStroke(toPointArray(stroke));
}
bool ContextHost::removeLastStroke() {
    return tessark::removeLastStroke();
}
void ContextHost::clearStrokeSet() {
    tessark::clearStrokeSet();
}
int ContextHost::shadowStrokeCount() {
    return tessark::shadowStrokeCount();
}
geo::Polyline ContextHost::lastShadowStroke() {
    MPointArray points;
    MIntArray size;
    tessark::lastShadowStroke(points, size);
    return toPolyline(points);
}
void ContextHost::clearShadowStrokes() {
    tessark::clearShadowStrokes();
}
void ContextHost::saveNondestructStrokes() {
    tessark::saveNondestructStrokes();
}
void ContextHost::clearNondestructStrokes() {
    RailNode::find().clearStrokes(RailStrokes::nondestruct);
}
bool ContextHost::isLastPlayer() {
    return tessark::isLastPlayer();
}
void ContextHost::setIsLastPlayer(bool value) {
    tessark::setIsLastPlayer(value);
}
void ContextHost::setLocked(bool value) {
    tessark::setLocked(value);
}
void ContextHost::setClose(bool value) {
    tessark::setClose(value);
}
void ContextHost::clearNewFaces() {
    tessark::clearNewFaces();
}
void ContextHost::sendPlayerPoints(const std::vector<int>& pins) {
    tessark::sendPlayerPoints(toIntArray(pins));
}
void ContextHost::setPlayersLine(const geo::Polyline& line) {
    RailNode::find().setPoints(RailPoints::playersLine, line);
}
void ContextHost::setMagnetPreview(const std::vector<geo::Point>& pixels) {
    RailNode::find().setPoints(RailPoints::magnetPt, pixels);
}
void ContextHost::sendFuse(const geo::Polyline& fusePoints, const geo::Polyline& fuseMesh,
                           const std::vector<unsigned>& triangles, bool bridge) {
    MUintArray indices;
    for (unsigned t : triangles) indices.append(t);
    tessark::sendFuse(toPointArray(fusePoints), toPointArray(fuseMesh), indices, bridge);
}
void ContextHost::clearFuse() {
    tessark::clearFuse();
}

// ---------------------------------------------------------------- actions

MStatus ContextHost::runCommandAction(int kind, const MString& text) {
    ToolAction action;
    action.actionKind = kind;
    action.commandText = text;
    MStatus status = runToolAction(context_, std::move(action));
    forgetMesh();
    return status;
}

std::vector<int> ContextHost::createPatch(int uArg, const geo::Polyline& playerRow) {
    std::vector<int> row = toInts(tessark::createPatch(uArg, toPointArray(playerRow)));
    forgetMesh();
    return row;
}

void ContextHost::redrawPatch(int u, int v, const geo::Polyline& stroke, bool scratch) {
    tessark::redrawPatch(u, v, toPointArray(stroke), scratch, [this](ToolAction&& action) {
        return runToolAction(context_, std::move(action));
    });
    forgetMesh();
}

void ContextHost::redrawPlayerRow(const geo::Polyline& stroke, const std::vector<int>& player) {
    MString text = movePlayerRow(toPointArray(stroke), toIntArray(player), retopologyMesh());
    if (text.length() == 0) return;
    runCommandAction(kRedrawStroke, text);
}

std::vector<int> ContextHost::bridgePatch(const std::vector<int>& playerEdges,
                                          const geo::Polyline& firstRail) {
    std::vector<int> row =
        toInts(tessark::bridgePatch(toIntArray(playerEdges), toPointArray(firstRail)));
    forgetMesh();
    return row;
}

void ContextHost::weld(const std::vector<int>& player, const std::vector<int>& weld,
                       const geo::Polyline& targets) {
    // Each pair meets where the surface is, not at the pair's midpoint, which
    // lies off a curved surface.
    MPointArray onSurface = toPointArray(targets);
    for (unsigned i = 0; i < onSurface.length(); ++i) onSurface[i] = nearestOnSource(onSurface[i]);
    runCommandAction(kWeld, weldCommand(retopologyMesh(), player, weld, onSurface));
}

void ContextHost::bridgeLoops(const std::vector<int>& playerEdges,
                              const std::vector<int>& fuseEdges, int divisions) {
    runCommandAction(kFusion, bridgeCommand(retopologyMesh(), playerEdges, fuseEdges, divisions));
}

void ContextHost::magnetMerge(int first, int second) {
    MDagPath mesh = retopologyMesh();
    // The merge puts the vertex at the two points' midpoint, off a curved
    // surface: both go first to the surface point nearest it, and the moves
    // and the merge undo as one.
    MString moves;
    MIntArray ids;
    ids.append(first);
    ids.append(second);
    const MPointArray ends = mesh.isValid() ? vertexPoints(ids, mesh) : MPointArray();
    if (ends.length() == 2) {
        const MPoint target = nearestOnSource(ends[0] + (ends[1] - ends[0]) * 0.5);
        for (int id : {first, second}) {
            moves += "move -a ";
            moves += target.x;
            moves += " ";
            moves += target.y;
            moves += " ";
            moves += target.z;
            moves += " \"" + mesh.fullPathName() + ".vtx[" + id + "]\";";
        }
    }
    MGlobal::executeCommand("undoInfo -openChunk", false, false);
    if (moves.length()) MGlobal::executeCommand(moves, false, true);
    MGlobal::executeCommand(magnetMergeCommand(mesh, first, second), true, true);
    MGlobal::executeCommand("undoInfo -closeChunk", false, false);
    forgetMesh();
    if (mesh.isValid()) MGlobal::selectByName(mesh.fullPathName(), MGlobal::kAddToList);
}

geo::Polyline ContextHost::retopologyPositions() {
    MPointArray positions;
    readAllPositions(retopologyMesh(), positions);
    return toPolyline(positions);
}

std::vector<int> ContextHost::brushSelect(short x, short y, double radius) {
    return toInts(tessark::brushSelect(retopologyMesh(), x, y, radius));
}

void ContextHost::brushRelaxStep(const std::vector<int>& vertices, double strength) {
    tessark::brushRelaxStep(retopologyMesh(), toIntArray(vertices), strength);
    forgetMesh();
}

void ContextHost::brushRelax(const geo::Polyline& before, const geo::Polyline& after) {
    ToolAction action;
    action.actionKind = kBrushRelax;
    action.positionsBefore = toPointArray(before);
    action.positionsAfter = toPointArray(after);
    runToolAction(context_, std::move(action));
    forgetMesh();
}

// ---------------------------------------------------------------- settings

int ContextHost::uSpans() {
    return tessark::uSpans();
}
int ContextHost::vSpans() {
    return tessark::vSpans();
}
int ContextHost::bridgeDivisions() {
    bool exists = false;
    int value = MGlobal::optionVarIntValue("kv_bdiv", &exists);
    return exists ? value : 1;
}

// ---------------------------------------------------------------- prompts, views, feedback

void ContextHost::setStatus(const std::string& text) {
    setInfo1(MString(text.c_str()));
}
void ContextHost::setHint(const std::string& text) {
    setInfo2(MString(text.c_str()));
}

void ContextHost::announceActivation() {
    context_.setHelpString(tool::prompt::kActivated);
    MGlobal::displayInfo(tool::prompt::kActivated);
    context_.setCursor(MCursor::doubleCrossHairCursor);
}

void ContextHost::refreshActiveView() {
    M3dView::active3dView().refresh();
}

void ContextHost::refreshAllViews(bool force) {
    M3dView::active3dView().refresh(true, force);
}

void ContextHost::drawStrokeFeedback(const std::string& label, const geo::Point& point,
                                     const geo::Polyline& liveStroke, double spinAngle,
                                     bool ctrlDrag) {
    if (!drawManager_) return;
    MUIDrawManager& dm = *drawManager_;
    dm.beginDrawInXray();
    dm.setColor(MColor(0.4f, 0.4f, 0.1f, 1.0f));
    dm.text2d(MPoint(300, 5), MString(label.c_str()));
    const double a = std::clamp(static_cast<double>(liveStroke.size()) / 15, 0.25, 16.0);
    const float b = static_cast<float>(a + 0.8);
    dm.setColor(ctrlDrag ? MColor(0.25f * b, 0.09f * b, 0.09f * b, 1.0f)
                         : MColor(0.25f * b, 0.25f * b, 0.01f * b * b, 1.0f));
    dm.setLineWidth(1.0f);
    geo::Point centre = projectToView(point);
    const MPoint c(centre.x, centre.y, 0, 1);
    const MVector up(0, 1, 0);
    // (0, 1, 0) turned about the view axis by an angle.
    auto turned = [](double angle) { return MVector(-std::sin(angle), std::cos(angle), 0); };
    dm.arc2d(c, up, turned(-spinAngle), 16, false);
    dm.arc2d(c, up, turned(spinAngle), 13, false);
    dm.arc2d(c, up, turned(-spinAngle), 10, true);
    dm.setLineWidth(ctrlDrag ? 3.0f : 2.5f);
    dm.lineStrip(toPointArray(liveStroke), false);
    dm.endDrawInXray();
}

void ContextHost::drawBrushCursor(short x, short y, double radius) {
    if (!drawManager_) return;
    MUIDrawManager& dm = *drawManager_;
    const MPoint centre(x, y, 0, 1);
    dm.setLineWidth(1.7f);
    for (int a = 0; a <= 5; ++a) {
        dm.setColor(MColor(0.5f, 0.5f, 0.54f, 1.0f - static_cast<float>(a) / 6.0f));
        dm.circle2d(centre, radius - 3 * a, false);
    }
    dm.circle2d(centre, 5, true);
    dm.setLineWidth(1.0f);
    dm.setColor(MColor(0.5f, 0.5f, 0.54f, 1.0f));
    dm.circle2d(centre, 6, false);
}

}  // namespace tessark
