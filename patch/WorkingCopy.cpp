#include "patch/WorkingCopy.h"

#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMeshData.h>
#include <maya/MGlobal.h>
#include <maya/MItGeometry.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

#include "railnode/ApiError.h"

namespace tessark {

int MeshFnSink::appendQuad(const geo::Quad& quad, double tolerance) {
    MPointArray corners;
    for (const auto& p : quad) corners.append(MPoint(p.x, p.y, p.z));
    int face = -1;
    MStatus status;
    mesh_.addPolygon(corners, face, true, tolerance, MObject::kNullObj, &status);
    TESSARK_REPORT_ERROR(status);
    return face;
}

WorkingCopy WorkingCopy::of(const MDagPath& meshPath) {
    WorkingCopy copy;
    MStatus status;
    MObject transform = MFnDagNode(meshPath.transform()).duplicate(false, false, &status);
    MFnDagNode copyFn(transform);
    copy.copyPath = copyFn.fullPathName(&status);
    TESSARK_REPORT_ERROR(status);
    copy.copyShape = copyFn.child(0);
    return copy;
}

void WorkingCopy::detach() {
    detached = MFnMeshData().create();
    dropCopy();
}

bool WorkingCopy::attach() {
    MStatus status = detached.isNull() ? mesh.setObject(copyShape) : mesh.setObject(detached);
    if (!status) status.perror("setobject meshfn");
    return status;
}

void WorkingCopy::dropCopy() {
    if (copyPath.length()) MGlobal::executeCommand("delete " + copyPath, false, false);
    copyPath = MString();
}

MIntArray farRowOf(MFnMesh& mesh, const std::vector<int>& faces, size_t first, int runs, int perRun,
                   bool runsAreColumns) {
    MIntArray row;
    if (runs <= 0 || perRun <= 0 || first + size_t(runs) * size_t(perRun) > faces.size())
        return row;
    auto faceAt = [&](int run, int k) { return faces[first + size_t(run) * perRun + k]; };
    // The quads along the far row, in order.
    std::vector<int> along;
    if (runsAreColumns)
        for (int run = 0; run < runs; ++run) along.push_back(faceAt(run, perRun - 1));
    else
        for (int k = 0; k < perRun; ++k) along.push_back(faceAt(runs - 1, k));
    MIntArray corners;
    for (size_t i = 0; i < along.size(); ++i) {
        if (!mesh.getPolygonVertices(along[i], corners) || corners.length() != 4)
            return MIntArray();
        row.append(corners[3]);
        if (i + 1 == along.size()) row.append(corners[2]);
    }
    return row;
}

double mergeTolerance() {
    bool exists = false;
    double value = MGlobal::optionVarDoubleValue("kv_mergThreshold", &exists);
    return exists ? value : 0.001;
}

int vertexCount(const MDagPath& mesh) {
    MStatus status;
    MItGeometry geometry(mesh, &status);
    return status ? geometry.count() : 0;
}

MString patchNodeFeeding(const MDagPath& meshPath) {
    MDagPath shape = meshPath;
    shape.extendToShape();
    MPlug inMesh = MFnDependencyNode(shape.node()).findPlug("inMesh", true);
    MPlugArray sources;
    inMesh.connectedTo(sources, true, false);
    return sources.length() ? MFnDependencyNode(sources[0].node()).name() : MString();
}

MStatus insertPatchNode(const MDagPath& meshPath) {
    return MGlobal::executeCommand("kvPatchCmd -m \"" + meshPath.fullPathName() + "\"", true, true);
}

MPointArray transformed(const MPointArray& points, const MMatrix& matrix) {
    if (matrix == MMatrix::identity) return points;
    MPointArray out = points;
    for (unsigned i = 0; i < out.length(); ++i) out[i] = out[i] * matrix;
    return out;
}

}  // namespace tessark
