#include "tessark/TessarkDrawOverride.h"

#include <maya/M3dView.h>
#include <maya/MColor.h>
#include <maya/MDagPath.h>
#include <maya/MEventMessage.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnIntArrayData.h>
#include <maya/MFnPointArrayData.h>
#include <maya/MFrameContext.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MUIDrawManager.h>
#include <maya/MUintArray.h>
#include <maya/MVector.h>
#include <maya/MViewport2Renderer.h>

#include <algorithm>

#include "railnode/ApiError.h"
#include "railnode/RailNode.h"
#include "railnode/TessarkNode.h"

using MHWRender::MUIDrawManager;

namespace {

//! A point projected through a fresh handle to the active view, as (x, y, 0, 1) pixels.
MPoint project(const MPoint& world) {
    short x = 0, y = 0;
    M3dView::active3dView().worldToView(world, x, y);
    return MPoint(x, y, 0, 1);
}

//! The points of each stroke of a set; sizes beyond the points are cut short.
std::vector<MPointArray> splitStrokeSet(const MPointArray& points, const MIntArray& sizes) {
    std::vector<MPointArray> strokes;
    unsigned offset = 0;
    for (unsigned i = 0; i < sizes.length(); ++i) {
        MPointArray stroke;
        int count = std::max(sizes[i], 0);
        for (int k = 0; k < count && offset < points.length(); ++k) stroke.append(points[offset++]);
        strokes.push_back(stroke);
    }
    return strokes;
}

void pinCircles(MUIDrawManager& dm, const MPoint& at) {
    dm.circle2d(at, 7, false);
    dm.circle2d(at, 4, true);
}

MString promptText(const char* variable, const char* fallback) {
    bool exists = false;
    MString text = MGlobal::optionVarStringValue(variable, &exists);
    return exists ? text : MString(fallback);
}

}  // namespace

TessarkDrawOverride::TessarkDrawOverride(const MObject& obj)
    : MHWRender::MPxDrawOverride(obj, NULL, false) {
    MStatus status;
    modelEditorCallback =
        MEventMessage::addEventCallback("modelEditorChanged", onModelEditorChanged, this, &status);
    TESSARK_REPORT_ERROR(status);
    MFnDependencyNode node(obj, &status);
    railNode = status ? dynamic_cast<Tessark*>(node.userNode()) : nullptr;
}

TessarkDrawOverride::~TessarkDrawOverride() {
    railNode = nullptr;
    if (modelEditorCallback != 0) {
        MMessage::removeCallback(modelEditorCallback);
        modelEditorCallback = 0;
    }
}

void TessarkDrawOverride::onModelEditorChanged(void* clientData) {
    auto* self = static_cast<TessarkDrawOverride*>(clientData);
    if (self && self->railNode)
        MHWRender::MRenderer::setGeometryDrawDirty(self->railNode->thisMObject(), true);
}

MHWRender::DrawAPI TessarkDrawOverride::supportedDrawAPIs() const {
    return MHWRender::kAllDevices;
}

bool TessarkDrawOverride::isBounded(const MDagPath&, const MDagPath&) const {
    return false;
}

MUserData* TessarkDrawOverride::prepareForDraw(const MDagPath& objPath, const MDagPath&,
                                               const MHWRender::MFrameContext&,
                                               MUserData* oldData) {
    using tessark::RailFlag;
    using tessark::RailInts;
    using tessark::RailPoints;
    using tessark::toIntArray;
    using tessark::toPointArray;
    tessark::RailNode node(objPath.node());
    strokes = toPointArray(node.points(RailPoints::strokes));
    playersLine = toPointArray(node.points(RailPoints::playersLine));
    sizes = toIntArray(node.ints(RailInts::sizes));
    playerpts = toPointArray(node.points(RailPoints::playerpts));
    magnetPt = toPointArray(node.points(RailPoints::magnetPt));
    // The fuse preview keeps what it last read when a plug cannot be found.
    MStatus found;
    MPointArray fuse = toPointArray(node.points(RailPoints::fusept, &found));
    if (found)
        fusept = fuse;
    else
        MStatus(MStatus::kFailure, "cannot find fuse points").perror("");
    MPointArray mesh = toPointArray(node.points(RailPoints::fusemesh, &found));
    if (found)
        fusemesh = mesh;
    else
        MStatus(MStatus::kFailure, "cannot find fusemesh").perror("");
    MIntArray indices = toIntArray(node.ints(RailInts::fuseindices, &found));
    if (found)
        fuseindices = indices;
    else
        MStatus(MStatus::kFailure, "cannot find fuseindices").perror("");
    bool bridge = node.flag(RailFlag::mode, mode, &found);
    if (found)
        mode = bridge;
    else
        MStatus(MStatus::kFailure, "cannot find mode").perror("");
    strokesShadow = toPointArray(node.points(RailPoints::strokesShadow));
    sizesShadow = toIntArray(node.ints(RailInts::sizesShadow));
    return oldData;
}

void TessarkDrawOverride::addUIDrawables(const MDagPath&, MUIDrawManager& dm,
                                         const MHWRender::MFrameContext& frameContext,
                                         const MUserData*) {
    M3dView view = M3dView::active3dView();
    int portHeight = view.portHeight();
    MDagPath viewCamera;
    view.getCamera(viewCamera);
    MStatus status;
    if (!(frameContext.getCurrentCameraPath(&status) == viewCamera)) return;

    dm.beginDrawable();
    drawPrompts(dm, portHeight);
    dm.setDepthPriority(1000);
    dm.setColor(MColor(0.6f, 0.6f, 0.09f, 1.0f));
    dm.setLineWidth(1.5f);
    dm.setFontSize(16);
    dm.setFontName("Arial");
    drawPinPoints(dm);
    drawPlayerLine(dm);
    drawStrokes(dm);
    drawMagnetPoints(dm);
    drawFusePreview(dm);
    drawShadowStrokes(dm);
    dm.endDrawable();
}

void TessarkDrawOverride::drawPrompts(MUIDrawManager& dm, int portHeight) const {
    dm.beginDrawInXray();
    dm.setDepthPriority(1000);
    dm.setFontName("Arial");
    dm.setFontSize(9);
    dm.setColor(MColor(0.3f, 0.3f, 0.01f, 1.0f));
    dm.text2d(MPoint(10, portHeight - 20), promptText("Tessark_info2", "... 2"),
              MUIDrawManager::kLeft);
    dm.text2d(MPoint(130, 6), promptText("Tessark_info1", "... 1"), MUIDrawManager::kLeft);
    dm.endDrawInXray();
}

void TessarkDrawOverride::drawPinPoints(MUIDrawManager& dm) const {
    if (playerpts.length() == 0) return;
    dm.beginDrawInXray();
    for (unsigned i = 0; i < playerpts.length(); ++i) {
        pinCircles(dm, project(playerpts[i]));
        if (i < 2)
            dm.text(playerpts[i] + MVector(0.1, 0.1, 0.1), i == 0 ? "1" : "2",
                    MUIDrawManager::kRight);
    }
    dm.endDrawInXray();
}

void TessarkDrawOverride::drawPlayerLine(MUIDrawManager& dm) const {
    if (playersLine.length() == 0) return;
    dm.setLineWidth(2.3f);
    dm.setDepthPriority(1000);
    dm.setColor(MColor(0.52f, 0.55f, 0.09f, 1.0f));
    dm.beginDrawInXray();
    dm.lineStrip(playersLine, false);
    dm.endDrawInXray();
}

void TessarkDrawOverride::drawStrokes(MUIDrawManager& dm) const {
    if (strokes.length() == 0 || sizes.length() == 0) return;
    dm.setFontSize(24);
    std::vector<MPointArray> each = splitStrokeSet(strokes, sizes);
    for (size_t i = 0; i < each.size(); ++i) {
        dm.beginDrawInXray();
        dm.setLineWidth(2.3f);
        dm.setDepthPriority(1000);
        dm.setColor(MColor(0.72f, 0.75f, 0.15f, 1.0f));
        if (each[i].length() > 0) {
            MString label;
            label += static_cast<int>(i + 1);
            dm.text2d(project(each[i][0]), label);
            dm.lineStrip(each[i], false);
        }
        dm.endDrawInXray();
    }
}

void TessarkDrawOverride::drawMagnetPoints(MUIDrawManager& dm) const {
    if (magnetPt.length() == 0) return;
    dm.setDepthPriority(1000);
    dm.setColor(MColor(1.0f, 0.1f, 0.7f, 1.0f));
    dm.beginDrawInXray();
    dm.setLineWidth(1.5f);
    pinCircles(dm, magnetPt[0]);
    if (magnetPt.length() >= 2) {
        pinCircles(dm, magnetPt[1]);
        dm.setLineWidth(3.5f);
        dm.setLineStyle(MUIDrawManager::kShortDotted);
        dm.line2d(magnetPt[0], magnetPt[1]);
    }
    dm.endDrawInXray();
}

void TessarkDrawOverride::drawFusePreview(MUIDrawManager& dm) const {
    if (fusept.length() == 0 || fuseindices.length() == 0 || playersLine.length() == 0) return;
    dm.beginDrawInXray();
    dm.setColor(mode ? MColor(0.3f, 0.3f, 0.9f, 1.0f) : MColor(0.3f, 0.9f, 0.3f, 1.0f));
    dm.setLineWidth(1.7f);
    dm.setDepthPriority(1000);
    dm.lineStrip(fusept, false);
    if (fusemesh.length() > 0) {
        dm.setLineWidth(1.5f);
        pinCircles(dm, project(fusept[0]));
        pinCircles(dm, project(fusept[fusept.length() - 1]));
        dm.setLineStyle(MUIDrawManager::kDashed);
        dm.line(playersLine[0], fusept[0]);
        dm.line(playersLine[playersLine.length() - 1], fusept[fusept.length() - 1]);
        dm.setColor(mode ? MColor(0.3f, 0.3f, 0.9f, 0.3f) : MColor(0.3f, 0.9f, 0.3f, 0.3f));
        // Only indices that name a point of the fuse mesh are drawn.
        MUintArray index;
        for (unsigned i = 0; i + 2 < fuseindices.length(); i += 3) {
            bool inside = true;
            for (unsigned k = 0; k < 3; ++k)
                inside = inside && fuseindices[i + k] >= 0 &&
                         static_cast<unsigned>(fuseindices[i + k]) < fusemesh.length();
            if (!inside) continue;
            for (unsigned k = 0; k < 3; ++k)
                index.append(static_cast<unsigned>(fuseindices[i + k]));
        }
        dm.mesh(MUIDrawManager::kTriangles, fusemesh, NULL, NULL, &index);
    }
    dm.endDrawInXray();
}

void TessarkDrawOverride::drawShadowStrokes(MUIDrawManager& dm) const {
    if (sizesShadow.length() == 0) return;
    dm.beginDrawInXray();
    dm.setDepthPriority(990);
    dm.setLineWidth(2.5f);
    dm.setFontSize(11);
    dm.setLineStyle(MUIDrawManager::kDashed);
    std::vector<MPointArray> each = splitStrokeSet(strokesShadow, sizesShadow);
    unsigned offset = 0;
    for (size_t i = 0; i < each.size(); ++i) {
        const MPointArray& stroke = each[i];
        for (unsigned j = 0; j < stroke.length(); ++j) {
            dm.setColor(MColor(0.7f, 0.7f, 0.7f, 0.3f));
            MString label;
            label += static_cast<int>(j);
            dm.text2d(project(stroke[j]), label);
        }
        dm.setColor(MColor(0.9f, 0.05f, static_cast<float>(i) + 0.05f, 1.0f));
        if (stroke.length() > 0) {
            // The marker sits on the point before the stroke's own offset,
            // bounded to the stroke's last point.
            unsigned marker =
                i == 0 ? 0 : std::min(offset == 0 ? 0u : offset - 1, stroke.length() - 1);
            dm.circle2d(project(stroke[marker]), 4, true);
        }
        dm.lineStrip(stroke, false);
        offset += stroke.length();
    }
    dm.endDrawInXray();
}
