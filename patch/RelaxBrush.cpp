#include "patch/RelaxBrush.h"

#include <maya/M3dView.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MFnMesh.h>
#include <maya/MItGeometry.h>
#include <maya/MItMeshVertex.h>
#include <maya/MMeshIsectAccelParams.h>
#include <maya/MPointArray.h>

#include "railnode/ApiError.h"
#include "railnode/RailNode.h"

namespace tessark {

namespace {

constexpr float kRelaxReach = 30.0f;
constexpr float kRelaxTolerance = 0.000001f;

}  // namespace

MIntArray brushSelect(const MDagPath& mesh, short x, short y, double radius) {
    MIntArray selected;
    MStatus status;
    MItGeometry geometry(mesh, &status);
    if (!status) return selected;
    MPointArray positions;
    geometry.allPositions(positions, MSpace::kWorld);
    M3dView view = M3dView::active3dView();
    const float r2 = static_cast<float>(radius * radius);
    for (unsigned v = 0; v < positions.length(); ++v) {
        short px = 0, py = 0;
        view.worldToView(positions[v], px, py);
        float dx = static_cast<float>(px - x), dy = static_cast<float>(py - y);
        if (dx * dx + dy * dy < r2) selected.append(static_cast<int>(v));
    }
    return selected;
}

void brushRelaxStep(const MDagPath& mesh, const MIntArray& vertices, double strength) {
    MStatus status;
    MFnMesh source(sourceMeshPath(), &status);
    if (!status) return;
    MMeshIsectAccelParams accel = source.autoUniformGridParams();
    MItMeshVertex it(mesh, MObject::kNullObj, &status);
    if (!status) return;
    for (unsigned i = 0; i < vertices.length(); ++i) {
        int previous = 0;
        status = it.setIndex(vertices[i], previous);
        TESSARK_REPORT_ERROR(status);
        if (!status) continue;
        MIntArray neighbours;
        it.getConnectedVertices(neighbours);
        if (neighbours.length() == 0) continue;
        const MPoint p = it.position(MSpace::kWorld);
        const double w = static_cast<float>(1.0 / neighbours.length());
        MPoint c(0, 0, 0);
        for (unsigned k = 0; k < neighbours.length(); ++k) {
            int unused = 0;
            it.setIndex(neighbours[k], unused);
            MPoint q = it.position(MSpace::kWorld);
            c.x += q.x * w, c.y += q.y * w, c.z += q.z * w;
        }
        it.setIndex(vertices[i], previous);
        const MPoint q = p - strength * (p - c);
        MVector normal;
        it.getNormal(normal, MSpace::kWorld);
        MFloatPoint hit;
        float param = 0, bary1 = 0, bary2 = 0;
        int hitFace = -1, hitTriangle = -1;
        bool found = source.closestIntersection(MFloatPoint(q), MFloatVector(normal), NULL, NULL,
                                                false, MSpace::kWorld, kRelaxReach, true, &accel,
                                                hit, &param, &hitFace, &hitTriangle, &bary1, &bary2,
                                                kRelaxTolerance, &status);
        if (found) it.setPosition(MPoint(hit.x, hit.y, hit.z), MSpace::kWorld);
    }
    M3dView::active3dView().refresh(true, false);
}

}  // namespace tessark
