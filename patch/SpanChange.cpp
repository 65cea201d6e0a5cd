#include "patch/SpanChange.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MFnMesh.h>
#include <maya/MGlobal.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>

#include <vector>

#include "geometry/resample.h"
#include "kvpatchnode/StateSenders.h"
#include "patch/PatchPipeline.h"
#include "patch/SurfaceSnap.h"
#include "railnode/ApiError.h"
#include "railnode/RailNodeOps.h"

namespace tessark {

namespace {

MPointArray resampled(const MPointArray& stroke, int spans) {
    if (spans < 0) return MPointArray();
    return toPointArray(geo::resampleStroke(toPolyline(stroke), static_cast<std::uint32_t>(spans),
                                            [] { return isClosed(); }));
}

//! The corners of each listed face, as vertex ids.
std::vector<MIntArray> faceCorners(const MDagPath& mesh, const MIntArray& faces) {
    std::vector<MIntArray> out(faces.length());
    MFnMesh fn(mesh);
    for (unsigned f = 0; f < faces.length(); ++f) {
        MStatus status = fn.getPolygonVertices(faces[f], out[f]);
        TESSARK_REPORT_ERROR(status);
    }
    return out;
}

//! Moves corners of the last patch's faces, face by face, in a whole-mesh
//! position array; corners and faces that do not exist are passed over.
class CornerWalk {
public:
    CornerWalk(std::vector<MIntArray> corners, MPointArray& positions)
        : corners_(std::move(corners)), positions_(positions) {}
    void set(unsigned corner, const MPoint& p) { setOn(face_, corner, p); }
    void setOn(size_t face, unsigned corner, const MPoint& p) {
        if (face >= corners_.size() || corner >= corners_[face].length()) return;
        int vertex = corners_[face][corner];
        if (vertex < 0 || static_cast<unsigned>(vertex) >= positions_.length()) return;
        positions_[static_cast<unsigned>(vertex)] = p;
    }
    void next() { ++face_; }
    size_t faces() const { return corners_.size(); }

private:
    std::vector<MIntArray> corners_;
    MPointArray& positions_;
    size_t face_ = 0;
};

}  // namespace

bool isBridgePatch(const MDagPath& mesh, int) {
    MIntArray faces = readNewFaces();
    if (faces.length() < 2) return false;
    MFnMesh fn(mesh);
    MIntArray first, second;
    MStatus status = fn.getPolygonVertices(faces[0], first);
    TESSARK_REPORT_ERROR(status);
    if (!status) return false;
    status = fn.getPolygonVertices(faces[1], second);
    TESSARK_REPORT_ERROR(status);
    if (!status) return false;
    return first.length() > 2 && second.length() > 3 && first[2] == second[3];
}

bool isReversedPatch(const MDagPath& mesh) {
    MDagPath shape = mesh;
    shape.extendToShape();
    MPlug inMesh = MFnDependencyNode(shape.node()).findPlug("inMesh", true);
    MPlugArray sources;
    inMesh.connectedTo(sources, true, false);
    if (sources.length() == 0) return false;
    MStatus status;
    MPlug reverse = MFnDependencyNode(sources[0].node()).findPlug("reverse", true, &status);
    return status && reverse.asBool();
}

bool snapFacesInPlace(const MDagPath& mesh, const MIntArray& faceIds) {
    MFnMesh fn(mesh);
    return projectOntoSource(fn, mesh.inclusiveMatrix(), faceIds, SnapMoves::atOnce).reverse;
}

MString movePlayerRow(const MPointArray& stroke, const MIntArray& vertexIds,
                      const MDagPath& meshPath) {
    MString text;
    if (vertexIds.length() == 0) return text;
    MPointArray row = resampled(stroke, static_cast<int>(vertexIds.length()) - 1);
    // A stroke of two points or fewer comes back as it is: only the points
    // it has are placed.
    unsigned count = std::min(row.length(), vertexIds.length());
    MString path = meshPath.fullPathName();
    for (unsigned k = 0; k < count; ++k) {
        text += "move -a ";
        text += row[k].x;
        text += " ";
        text += row[k].y;
        text += " ";
        text += row[k].z;
        text += " \"";
        text += path;
        text += ".vtx[ ";
        text += vertexIds[k];
        text += "]\" ;";
    }
    return text;
}

MStatus changeSpans(int u, int v, bool scratch, int previousV) {
    MDagPath mesh;
    if (!selectedRetopologyMesh(mesh) || readNewFaces().length() == 0)
        return MStatus::kUnknownParameter;
    std::vector<MPointArray> strokes = splitShadowStrokes();
    MIntArray toMerge = readToMerge();
    MPointArray player = firstShadowStroke();
    int columns = u;
    if (!scratch) {
        columns = static_cast<int>(toMerge.length()) - 1;
        if (v == previousV) return MStatus::kSuccess;
    }
    // A last patch that recorded no row to continue from still gets a patch.
    if (columns <= 0) columns = 2;
    if (scratch) {
        std::vector<MPointArray> nondestructive = retrieveNondestructStrokes();
        if (nondestructive.size() > 1) strokes = nondestructive;
    }
    MIntArray newFaces;
    generateRails(mesh, newFaces, columns, v, strokes, player, true, scratch);
    return writeNewFaces(newFaces);
}

bool redrawPatch(int u, int v, const MPointArray& stroke, bool scratch, const ActionRunner& run) {
    MDagPath mesh;
    if (!selectedRetopologyMesh(mesh)) return false;
    const bool bridge = isBridgePatch(mesh, u);
    MPointArray before;
    if (!readAllPositions(mesh, before)) return false;
    int spans = u;
    if (isLastPlayer()) {
        u = lastShadowSize();
        spans = u - 1;
    }
    MPointArray a = firstShadowStroke();
    MPointArray b;
    if (scratch) {
        if (retrieveNondestructStrokes().size() >= 3) return false;
        b = resampled(stroke, spans - 1);
    } else {
        b = resampled(stroke, spans);
    }
    const int columns = u - 1;
    // Each column reads both rails at its index: a rail with fewer points
    // than the patch has columns cannot carry it.
    if (v < 1 || columns < 0 || a.length() == 0 || b.length() == 0 ||
        static_cast<int>(std::min(a.length(), b.length())) < columns) {
        MGlobal::displayWarning(
            "Tessark: the stroke is too short to redraw the last patch; nothing was moved");
        return false;
    }

    MIntArray faces = readNewFaces();
    MPointArray after = before;
    CornerWalk walk(faceCorners(mesh, faces), after);
    const bool flip = isReversedPatch(mesh);
    const double rows = static_cast<double>(v);
    const MPoint& aLast = a[a.length() - 1];
    const MVector dLast = (b[b.length() - 1] - aLast) / rows;
    auto step = [&](int i) {
        return (b[static_cast<unsigned>(i)] - a[static_cast<unsigned>(i)]) / rows;
    };
    if (!bridge) {
        for (int i = 0; i < columns && u != 1; ++i) {
            const MVector d = step(i);
            for (int k = 1; k <= v; ++k) {
                walk.set(flip ? 0 : 3, a[static_cast<unsigned>(i)] + k * d);
                if (!flip && i == columns - 1) walk.set(2, aLast + k * dLast);
                walk.next();
            }
            if (flip && i == columns - 1)
                for (int k = 1; k <= v; ++k)
                    walk.setOn(faces.length() - (v + 1) + k, 1, aLast + k * dLast);
        }
    } else {
        for (int k = 1; k <= v; ++k)
            for (int i = 0; i < columns; ++i) {
                walk.set(flip ? 0 : 3, a[static_cast<unsigned>(i)] + k * step(i));
                if (i == columns - 1) walk.set(flip ? 1 : 2, aLast + k * dLast);
                walk.next();
            }
    }
    writeAllPositions(mesh, after);
    snapFacesInPlace(mesh, faces);

    ToolAction action;
    action.actionKind = kRedrawPatch;
    readAllPositions(mesh, action.positionsAfter);
    action.positionsBefore = before;
    if (run) run(std::move(action));
    storeShadowPair(a, b);
    return false;
}

}  // namespace tessark
