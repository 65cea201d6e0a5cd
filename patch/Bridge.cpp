#include "patch/Bridge.h"

#include <maya/MDagPath.h>
#include <maya/MGlobal.h>
#include <maya/MSelectionList.h>

#include <vector>

#include "geometry/bridge.h"
#include "geometry/resample.h"
#include "kvpatchnode/StateSenders.h"
#include "patch/FillPatchNode.h"
#include "patch/SurfaceSnap.h"
#include "patch/WorkingCopy.h"
#include "railnode/ApiError.h"
#include "railnode/RailNodeOps.h"

namespace tessark {

namespace {

MIntArray buildBridge(const MDagPath& meshPath, MIntArray& newFaces, int vSpans,
                      const MIntArray& edgeIds, const MPointArray& firstRail) {
    const int n = vertexCount(meshPath);
    WorkingCopy copy = WorkingCopy::of(meshPath);
    if (!copy.attach()) {
        copy.dropCopy();
        return MIntArray();
    }
    MDagPath copyPath;
    {
        MSelectionList list;
        list.add(copy.copyPath);
        list.getDagPath(0, copyPath);
    }

    const MMatrix world = meshPath.inclusiveMatrix();
    const MMatrix toObject = world == MMatrix::identity ? world : world.inverse();
    geo::Polyline path = geo::resampleStroke(
        toPolyline(transformed(readStrokes(RailNode::find().object()), toObject)),
        static_cast<std::uint32_t>(vSpans), [] { return isClosed(); });
    geo::Polyline chain = toPolyline(transformed(edgeChainPoints(edgeIds, meshPath), toObject));

    MeshFnSink sink(copy.mesh);
    std::vector<int> built;
    geo::sweepBridge(chain, path, mergeTolerance(), sink, built);
    // A quad the mesh refused (its error is reported) has no face to remember.
    std::vector<int> faces;
    for (int f : built)
        if (f >= 0) faces.push_back(f);
    if (faces.empty()) {
        copy.dropCopy();
        MGlobal::displayWarning("Tessark: the path is too short to sweep the border along");
        return MIntArray();
    }
    for (int f : faces) newFaces.append(f);

    // The row the bridge ends on, as the mesh numbers it: a path the resampling
    // left with fewer than V spans, or rows that merged with the mesh, would
    // make the numbering of a full unmerged sweep name other vertices.
    const int perRow = static_cast<int>(chain.size()) - 1;
    const int rows = faces.size() == built.size() ? static_cast<int>(faces.size()) / perRow : 0;
    MIntArray lastRow = farRowOf(copy.mesh, faces, 0, rows, perRow, false);
    if (lastRow.length() == 0)
        lastRow =
            toIntArray(geo::bridgeLastRow(n, chain.size(), static_cast<std::uint32_t>(vSpans)));
    setToMerge(lastRow);

    MStatus status = insertPatchNode(meshPath);
    if (!status) {
        // No patch node: the quads never reach the mesh, and nothing may remember them.
        copy.dropCopy();
        newFaces.setLength(newFaces.length() - static_cast<unsigned>(faces.size()));
        writeToMerge(MIntArray());
        return MIntArray();
    }
    SurfaceSnap snap = projectOntoSource(copy.mesh, world, newFaces, SnapMoves::collect);
    // The shadow strokes: the first rail and the row the bridge ends on, as built.
    storeShadowPair(firstRail, vertexPoints(lastRow, copyPath));
    status = applySnap(copy.mesh, world, snap);
    TESSARK_REPORT_ERROR(status);
    copy.attach();
    fillPatchNode(copy.mesh, snap.reverse, patchNodeFeeding(meshPath), newFaces);
    copy.dropCopy();
    return lastRow;
}

}  // namespace

MIntArray bridgePatch(const MIntArray& edgeIds, const MPointArray& firstRail) {
    if (edgeIds.length() < 2) {
        MGlobal::displayError(
            "Tessark: a bridge needs a chain of at least two border edges to tell its direction");
        return MIntArray();
    }
    setLocked(false);
    MDagPath mesh;
    if (!selectedRetopologyMesh(mesh)) {
        mesh = createRetopoMesh();
        MGlobal::selectByName(mesh.fullPathName(), MGlobal::kAddToList);
    }
    MIntArray newFaces;
    MIntArray lastRow = buildBridge(mesh, newFaces, vSpans(), edgeIds, firstRail);
    MStatus status = writeNewFaces(newFaces);
    TESSARK_REPORT_ERROR(status);
    return lastRow;
}

}  // namespace tessark
