#include "patch/PatchHelpers.h"

#include <maya/MGlobal.h>
#include <maya/MItGeometry.h>
#include <maya/MSelectionList.h>

#include "tessark/RailNodeOps.h"

namespace tessark {

MString relaxCommand(const MDagPath& mesh) {
    MString text = "polyAverageVertex - i 1";
    MIntArray faces = readIntArray(findRailNode(), "newFaces");
    for (unsigned i = 0; i < faces.length(); ++i) {
        text += " \"";
        text += mesh.fullPathName();
        text += ".f[";
        text += faces[i];
        text += "]\"";
    }
    return text;
}

MIntArray verticesAtPoints(const MDagPath& mesh, const MPointArray& points) {
    MIntArray ids;
    if (points.length() == 0) return ids;
    MStatus status;
    MItGeometry geometry(mesh, &status);
    if (!status) return ids;
    MPointArray positions;
    geometry.allPositions(positions, MSpace::kWorld);
    for (unsigned p = 0; p < points.length(); ++p)
        for (unsigned v = 0; v < positions.length(); ++v)
            if (positions[v].distanceTo(points[p]) < 0.0001) ids.append(static_cast<int>(v));
    return ids;
}

void clearStrokePoints() {
    writePointArray(findRailNode(), "strokes", MPointArray());
}

void clearStrokeSet() {
    MObject rail = findRailNode();
    writeNull(rail, "strokes");
    writeNull(rail, "sizes");
}

void clearShadowStrokes() {
    MObject rail = findRailNode();
    writePointArray(rail, "strokesShadow", MPointArray());
    writeIntArray(rail, "sizesShadow", MIntArray());
}

void clearNewFaces() {
    writeNull(findRailNode(), "newFaces");
}

MIntArray readToMerge() {
    return readIntArray(findRailNode(), "toMerge");
}

MStatus lastShadowStroke(MPointArray& points, MIntArray& size) {
    points.clear();
    size.clear();
    geo::StrokeSet set = readStrokeSet(findRailNode(), "strokesShadow", "sizesShadow");
    if (set.sizes.empty())
        return MStatus(MStatus::kInvalidParameter, "there are no shadow strokes");
    std::vector<geo::Polyline> strokes = geo::splitStrokes(set);
    points = toPointArray(strokes.back());
    size.append(set.sizes.back());
    return MStatus::kSuccess;
}

bool selectedRetopologyMesh(MDagPath& path) {
    path = MDagPath();
    MSelectionList selection;
    MGlobal::getActiveSelectionList(selection);
    if (selection.length() == 0) return false;
    if (!selection.getDagPath(0, path)) return false;
    return path.isValid() && path.hasFn(MFn::kMesh);
}

}  // namespace tessark
