#include "kvpatchnode/StateSenders.h"

#include <maya/MFnDependencyNode.h>
#include <maya/MFnIntArrayData.h>
#include <maya/MFnPointArrayData.h>
#include <maya/MPlug.h>

#include "geometry/densify.h"
#include "tessark/RailNodeOps.h"

namespace tessark {

void saveNondestructStrokes() {
    MObject rail = findRailNode();
    if (rail.isNull()) return;
    std::optional<geo::StrokeSet> dense =
        geo::nondestructStrokes(readStrokeSet(rail, "strokes", "sizes"));
    if (!dense) return;
    MFnDependencyNode node(rail);
    MStatus status;
    MPlug sizes = node.findPlug("sizesNondestruct", true, &status);
    if (!status) {
        status.perror("cannot find sizesNondeDEstruct plug");
    } else {
        MIntArray counts;
        for (int s : dense->sizes) counts.append(s);
        status = sizes.setValue(MFnIntArrayData().create(counts));
        if (!status) status.perror("cannot set sizesNondeDEstruct plug");
    }
    MPlug points = node.findPlug("strokesNondestruct", true, &status);
    if (!status) {
        status.perror("cannot find strokeNondeDEstruct plug");
        return;
    }
    status = points.setValue(MFnPointArrayData().create(toPointArray(dense->points)));
    if (!status) status.perror("");
}

std::vector<MPointArray> retrieveNondestructStrokes() {
    return toPointArrays(
        geo::splitStrokes(readStrokeSet(findRailNode(), "strokesNondestruct", "sizesNondestruct")));
}

void densifyStroke(MPointArray& stroke) {
    stroke = toPointArray(geo::densifyStroke(toPolyline(stroke)));
}

MStatus sendFuse(const MPointArray& fusePoints, const MPointArray& fuseMesh,
                 const MUintArray& fuseIndices, bool mode) {
    MObject rail = findRailNode();
    writePointArray(rail, "fusept", fusePoints);
    writePointArray(rail, "fusemesh", fuseMesh);
    MIntArray indices;
    for (unsigned i = 0; i < fuseIndices.length(); ++i)
        indices.append(static_cast<int>(fuseIndices[i]));
    MStatus status = writeIntArray(rail, "fuseindices", indices);
    writeBool(rail, "mode", mode);
    return status;
}

void clearFuse() {
    MObject rail = findRailNode();
    writePointArray(rail, "fusept", MPointArray());
    writePointArray(rail, "fusemesh", MPointArray());
    writeIntArray(rail, "fuseindices", MIntArray());
    writeIntArray(rail, "sizesShadow", MIntArray());
}

void sendPlayerPoints(const MIntArray& vertexIds) {
    writePointArray(findRailNode(), "playerpts", vertexPoints(vertexIds, MDagPath()));
}

void setClose(bool closed) {
    writeBool(findRailNode(), "close", closed);
}

MStatus setToMerge(const MIntArray& vertexIds) {
    writeIntArray(findRailNode(), "toMerge", vertexIds);
    return MStatus::kSuccess;
}

}  // namespace tessark
