#include "patch/PatchPipeline.h"

#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnMeshData.h>
#include <maya/MGlobal.h>
#include <maya/MItGeometry.h>
#include <maya/MMatrix.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

#include "geometry/mesh_sink.h"
#include "geometry/rail_grid.h"
#include "kvpatchnode/StateSenders.h"
#include "patch/FillPatchNode.h"
#include "patch/SurfaceSnap.h"
#include "patch/WorkingCopy.h"
#include "railnode/ApiError.h"
#include "railnode/RailNodeOps.h"

namespace tessark {

namespace {

MIntArray fiveZeros() {
    return toIntArray(geo::noPatch());
}

}  // namespace

MStatus deleteLastFaces(MFnMesh& mesh) {
    MIntArray faces = readNewFaces();
    if (faces.length() == 0) return MStatus::kUnknownParameter;
    for (unsigned i = faces.length(); i-- > 0;) {
        MStatus status = mesh.deleteFace(faces[i]);
        TESSARK_REPORT_ERROR(status);
    }
    return MStatus::kSuccess;
}

MIntArray generateRails(const MDagPath& meshPath, MIntArray& newFaces, int uSpans, int vSpans,
                        const std::vector<MPointArray>& strokes, const MPointArray& playerRow,
                        bool changeSpan, bool scratch) {
    double rails = strokes.size() > 1 ? static_cast<double>(strokes.size() - 1) : 0.0;
    if (uSpans < 0 || vSpans < 0 || rails * uSpans * vSpans > kMaxPatchQuads) {
        MGlobal::displayError(MString("Tessark: a patch of ") + uSpans + " x " + vSpans +
                              " spans is too large to build");
        return fiveZeros();
    }
    double tolerance = mergeTolerance();

    MStatus status;
    WorkingCopy target = WorkingCopy::of(meshPath);
    MFnMesh copyMesh(target.copyShape);
    MIntArray lastFaces = readNewFaces();
    if (changeSpan && copyMesh.numPolygons() == static_cast<int>(lastFaces.length()))
        target.detach();
    if (scratch && !changeSpan) target.detach();
    if (!target.attach()) {
        target.dropCopy();
        return fiveZeros();
    }
    if (changeSpan && target.detached.isNull() &&
        target.mesh.numPolygons() != static_cast<int>(lastFaces.length()))
        deleteLastFaces(target.mesh);

    // Strokes and the player row are world positions; the quads go into the
    // mesh's own space, where its existing vertices are.
    MMatrix world = meshPath.inclusiveMatrix();
    MMatrix toObject = world == MMatrix::identity ? world : world.inverse();
    std::vector<geo::Polyline> railLines;
    for (const auto& s : strokes) railLines.push_back(toPolyline(transformed(s, toObject)));
    std::vector<int> faces;
    size_t lastPairStart = 0;
    auto storeShadowRails = [&](const geo::Polyline& first, const geo::Polyline& second) {
        lastPairStart = faces.size();
        storeShadowPair(transformed(toPointArray(first), world),
                        transformed(toPointArray(second), world));
    };
    geo::RailGridSettings settings;
    settings.uSpans = static_cast<std::uint32_t>(uSpans);
    settings.vSpans = static_cast<std::uint32_t>(vSpans);
    settings.tolerance = tolerance;
    settings.scratch = scratch;
    settings.isClosed = [] { return isClosed(); };
    MeshFnSink sink(target.mesh);
    std::vector<int> built =
        geo::buildRailGrid(railLines, toPolyline(transformed(playerRow, toObject)), settings, sink,
                           faces, storeShadowRails);
    if (built == geo::noPatch()) {
        // Nothing reads the working copy after an early stop: do not leave it behind,
        // nor the ids of the faces built into it, which the mesh never received.
        target.dropCopy();
        return fiveZeros();
    }
    for (int f : faces) newFaces.append(f);

    int n = vertexCount(meshPath);
    // The row the next patch continues from, as the mesh numbers it: where
    // the grid merged with the mesh (a player row, a shared rail) the
    // numbering of an unmerged grid would name other vertices.
    const int rows = vSpans;
    const int columns = rows > 0 ? static_cast<int>((faces.size() - lastPairStart) / rows) : 0;
    MIntArray lastRow = farRowOf(target.mesh, faces, lastPairStart, columns, rows, true);
    if (lastRow.length() == 0)
        lastRow = toIntArray(geo::lastRow(n, settings.uSpans, settings.vSpans));
    setToMerge(lastRow);
    unsigned facesBefore = newFaces.length() - static_cast<unsigned>(faces.size());

    // The corners that reach the source are pressed onto it in the copy
    // itself, so that the patch arrays hold them where they land: the mesh
    // gains no tweaks, and undoing the patch node undoes the whole patch.
    SurfaceSnap snap = projectOntoSource(target.mesh, world, newFaces, SnapMoves::collect);
    status = applySnap(target.mesh, world, snap);
    TESSARK_REPORT_ERROR(status);
    target.attach();

    status = insertPatchNode(meshPath);
    if (!status) {
        // Without a new patch node nothing may be filled: the action stops here, and
        // nothing may remember the faces and the row that the mesh never received.
        target.dropCopy();
        newFaces.setLength(facesBefore);
        writeToMerge(MIntArray());
        return fiveZeros();
    }
    MString nodeName = patchNodeFeeding(meshPath);
    fillPatchNode(target.mesh, snap.reverse, nodeName, newFaces);
    target.dropCopy();
    return lastRow;
}

MIntArray createPatch(int uArg, const MPointArray& playerRow) {
    setLocked(false);
    setToMerge(MIntArray());
    int u = uArg == -1 ? uSpans() : (uArg == 0 ? 1 : (uArg > 0 ? uArg : 0));
    int v = vSpans();
    MDagPath mesh;
    bool scratch = false;
    if (!selectedRetopologyMesh(mesh)) {
        mesh = createRetopoMesh();
        scratch = true;
    }
    std::vector<MPointArray> strokes = uArg == -1 ? retrieveNondestructStrokes() : splitStrokes();
    MIntArray newFaces;
    MIntArray lastRow = generateRails(mesh, newFaces, u, v, strokes, playerRow, false, scratch);
    MStatus status = writeNewFaces(newFaces);
    TESSARK_REPORT_ERROR(status);
    return lastRow;
}

}  // namespace tessark
