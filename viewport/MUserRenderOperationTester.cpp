#include "viewport/MUserRenderOperationTester.h"

#include <maya/M3dView.h>
#include <maya/MFnCamera.h>
#include <maya/MGlobal.h>
#include <maya/MItMeshPolygon.h>
#include <maya/MSelectionList.h>

#include <vector>

#include "geometry/overlay.h"
#include "viewport/NoThrow.h"
#include "viewport/OverlayStyle.h"

namespace {

geo::Point toGeo(const MPoint& p) {
    return {p.x, p.y, p.z};
}

MPoint toHost(const geo::Point& p) {
    return MPoint(p.x, p.y, p.z);
}

void fill(MPointArray& out, const std::vector<geo::Point>& points) {
    out.setLength(static_cast<unsigned int>(points.size()));
    for (unsigned int i = 0; i < out.length(); ++i) out[i] = toHost(points[i]);
}

//! The camera the overlay is culled for: the one the frame is drawn through,
//! so that every viewport culls for its own eye; the active view's when the
//! frame names none.
MDagPath cullingCamera(const MHWRender::MFrameContext& frameContext) {
    MStatus status;
    MDagPath camera = frameContext.getCurrentCameraPath(&status);
    if (status && camera.isValid()) return camera;
    M3dView::active3dView().getCamera(camera);
    return camera;
}

//! The world positions of every polygon of a mesh into `polygons`, none when
//! the path is no mesh. The polylines already there are reused for their storage.
void polygonsOf(const MDagPath& mesh, std::vector<geo::Polyline>& polygons) {
    std::size_t count = 0;
    if (mesh.isValid()) {
        MDagPath shape(mesh);
        shape.extendToShape();
        MStatus status;
        MItMeshPolygon it(shape, MObject::kNullObj, &status);
        MPointArray points;
        for (; status && !it.isDone(); it.next()) {
            if (!it.getPoints(points, MSpace::kWorld)) continue;
            if (count == polygons.size()) polygons.emplace_back();
            geo::Polyline& polygon = polygons[count++];
            polygon.resize(points.length());
            for (unsigned int i = 0; i < points.length(); ++i) polygon[i] = toGeo(points[i]);
        }
    }
    polygons.resize(count);
}

}  // namespace

MUserRenderOperationTester::MUserRenderOperationTester(const MString& name)
    : MUserRenderOperation(name) {}

MUserRenderOperationTester::~MUserRenderOperationTester() = default;

MStatus MUserRenderOperationTester::execute(const MHWRender::MDrawContext&) {
    return MStatus::kSuccess;
}

bool MUserRenderOperationTester::hasUIDrawables() const {
    return mUserUIDrawables;
}

bool MUserRenderOperationTester::requiresLightData() const {
    return mUserUILightData;
}

void MUserRenderOperationTester::updateCutMesh() {
    MSelectionList active;
    if (!MGlobal::getActiveSelectionList(active) || active.length() == 0) return;
    MDagPath selected;
    if (!active.getDagPath(0, selected) || !selected.isValid()) return;
    mCutMesh = selected;
    // A transform without a shape below publishes its own path.
    MDagPath shape(selected);
    shape.extendToShape();
    MGlobal::setOptionVarValue("kvCutMeshName", shape.fullPathName());
}

void MUserRenderOperationTester::rebuildLists(const MDagPath& camera, double cullThreshold) {
    mTriangles.clear();
    mEdges.clear();
    polygonsOf(mCutMesh, mPolygons);
    if (mPolygons.empty()) return;
    MStatus status;
    MFnCamera fnCamera(camera, &status);
    if (!status) return;
    const MPoint eye = fnCamera.eyePoint(MSpace::kWorld, &status);
    if (!status) return;
    geo::overlayLists(mPolygons, toGeo(eye), cullThreshold, mLists);
    fill(mTriangles, mLists.triangles);
    fill(mEdges, mLists.edges);
}

void MUserRenderOperationTester::addUIDrawables(MHWRender::MUIDrawManager& drawManager,
                                                const MHWRender::MFrameContext& frameContext) {
    stopOnThrow([&] { drawOverlay(drawManager, frameContext); });
}

void MUserRenderOperationTester::drawOverlay(MHWRender::MUIDrawManager& drawManager,
                                             const MHWRender::MFrameContext& frameContext) {
    const MDagPath camera = cullingCamera(frameContext);
    updateCutMesh();
    const OverlayStyle style = readOverlayStyle();
    rebuildLists(camera, style.cullThreshold);

    drawManager.beginDrawable(MHWRender::MUIDrawManager::kAutomatic);
    drawManager.setDepthPriority(style.surfaceDepthPriority);
    drawManager.setColor(style.surface);
    if (mTriangles.length() > 0)
        drawManager.mesh(MHWRender::MUIDrawManager::kTriangles, mTriangles);
    drawManager.setDepthPriority(style.lineDepthPriority);
    drawManager.setColor(style.line);
    drawManager.setLineWidth(style.lineWidth);
    if (mEdges.length() > 0) drawManager.lineList(mEdges, false);
    drawManager.endDrawable();
}
