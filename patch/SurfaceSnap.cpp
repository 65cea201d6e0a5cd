#include "patch/SurfaceSnap.h"

#include <maya/MFloatPoint.h>
#include <maya/MFloatVector.h>
#include <maya/MGlobal.h>
#include <maya/MMeshIsectAccelParams.h>
#include <maya/MPointArray.h>

#include "railnode/ApiError.h"
#include "railnode/RailNode.h"

namespace tessark {

namespace {

double snapDistance() {
    bool exists = false;
    double value = MGlobal::optionVarDoubleValue("kv_distancesnap", &exists);
    return exists ? value : 100.0;
}

}  // namespace

MPoint nearestOnSource(const MPoint& world) {
    MStatus status;
    MFnMesh source(sourceMeshPath(), &status);
    if (!status) return world;
    MPoint nearest;
    if (!source.getClosestPoint(world, nearest, MSpace::kWorld)) return world;
    return nearest;
}

bool isSameFacing(int sourceFaceId, const MVector& quadNormal) {
    MFnMesh source(sourceMeshPath());
    MVector normal;
    source.getPolygonNormal(sourceFaceId, normal, MSpace::kWorld);
    return normal * quadNormal > 0;
}

SurfaceSnap projectOntoSource(MFnMesh& mesh, const MMatrix& worldMatrix, const MIntArray& faceIds,
                              SnapMoves moves) {
    SurfaceSnap snap;
    MStatus status;
    MFnMesh source(sourceMeshPath(), &status);
    if (!status) return snap;
    MMeshIsectAccelParams accel = source.autoUniformGridParams();
    const float reach = static_cast<float>(snapDistance());
    const bool identity = worldMatrix == MMatrix::identity;
    const MMatrix toObject = identity ? worldMatrix : worldMatrix.inverse();
    bool anyHit = false, sameFacing = false;
    for (unsigned f = 0; f < faceIds.length(); ++f) {
        MIntArray corners;
        status = mesh.getPolygonVertices(faceIds[f], corners);
        TESSARK_REPORT_ERROR(status);
        if (!status || corners.length() != 4) continue;
        MPoint p[4];
        for (unsigned k = 0; k < 4; ++k) {
            status = mesh.getPoint(corners[k], p[k], MSpace::kObject);
            TESSARK_REPORT_ERROR(status);
            if (!identity) p[k] = p[k] * worldMatrix;
        }
        MVector n = (p[1] - p[0]) ^ (p[3] - p[0]);
        for (unsigned k = 0; k < 4; ++k) {
            MFloatPoint hit;
            float param = 0, bary1 = 0, bary2 = 0;
            int hitFace = -1, hitTriangle = -1;
            bool found = source.closestIntersection(
                MFloatPoint(p[k]), MFloatVector(n), NULL, NULL, false, MSpace::kWorld, reach, true,
                &accel, hit, &param, &hitFace, &hitTriangle, &bary1, &bary2, 0, &status);
            TESSARK_REPORT_ERROR(status);
            if (!found) continue;
            MPoint at(hit.x, hit.y, hit.z);
            snap.hits.push_back({corners[k], at});
            if (moves == SnapMoves::atOnce) {
                sameFacing = isSameFacing(hitFace, n);
                status = mesh.setPoint(corners[k], identity ? at : at * toObject, MSpace::kObject);
                TESSARK_REPORT_ERROR(status);
            } else if (!anyHit) {
                sameFacing = isSameFacing(hitFace, n);
            }
            anyHit = true;
        }
    }
    snap.reverse = !anyHit || !sameFacing;
    return snap;
}

MStatus applySnap(MFnMesh& mesh, const MMatrix& worldMatrix, const SurfaceSnap& snap) {
    if (snap.hits.empty()) return MStatus::kSuccess;
    MPointArray points;
    MStatus status = mesh.getPoints(points, MSpace::kObject);
    if (!status) return status;
    const bool identity = worldMatrix == MMatrix::identity;
    const MMatrix toObject = identity ? worldMatrix : worldMatrix.inverse();
    for (const SurfaceHit& hit : snap.hits) {
        if (hit.vertex < 0 || static_cast<unsigned>(hit.vertex) >= points.length()) continue;
        points[static_cast<unsigned>(hit.vertex)] = identity ? hit.point : hit.point * toObject;
    }
    return mesh.setPoints(points, MSpace::kObject);
}

MString moveCommandText(const SurfaceSnap& snap, const MDagPath& meshPath) {
    MString text;
    MString meshName = meshPath.fullPathName();
    for (const SurfaceHit& hit : snap.hits) {
        text += "move -absolute ";
        text += hit.point.x;
        text += " ";
        text += hit.point.y;
        text += " ";
        text += hit.point.z;
        text += " ";
        text += meshName;
        text += ".vtx[";
        text += hit.vertex;
        text += "]; ";
    }
    return text;
}

}  // namespace tessark
