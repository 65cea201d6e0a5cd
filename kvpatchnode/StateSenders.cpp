#include "kvpatchnode/StateSenders.h"

#include "geometry/densify.h"
#include "railnode/RailNode.h"
#include "railnode/RailNodeOps.h"

namespace tessark {

void saveNondestructStrokes() {
    RailNode rail = RailNode::find();
    if (!rail.exists()) return;
    std::optional<geo::StrokeSet> dense =
        geo::nondestructStrokes(rail.strokes(RailStrokes::current));
    if (!dense) return;
    MStatus found;
    rail.ints(RailInts::sizesNondestruct, &found);
    if (!found) {
        found.perror("cannot find sizesNondeDEstruct plug");
    } else {
        MStatus status = rail.setInts(RailInts::sizesNondestruct,
                                      std::vector<int>(dense->sizes.begin(), dense->sizes.end()));
        if (!status) status.perror("cannot set sizesNondeDEstruct plug");
    }
    rail.points(RailPoints::strokesNondestruct, &found);
    if (!found) {
        found.perror("cannot find strokeNondeDEstruct plug");
        return;
    }
    MStatus status = rail.setPoints(RailPoints::strokesNondestruct, dense->points);
    if (!status) status.perror("");
}

std::vector<MPointArray> retrieveNondestructStrokes() {
    return toPointArrays(geo::splitStrokes(RailNode::find().strokes(RailStrokes::nondestruct)));
}

void densifyStroke(MPointArray& stroke) {
    stroke = toPointArray(geo::densifyStroke(toPolyline(stroke)));
}

MStatus sendFuse(const MPointArray& fusePoints, const MPointArray& fuseMesh,
                 const MUintArray& fuseIndices, bool mode) {
    RailNode rail = RailNode::find();
    rail.setPoints(RailPoints::fusept, toPolyline(fusePoints));
    rail.setPoints(RailPoints::fusemesh, toPolyline(fuseMesh));
    std::vector<int> indices(fuseIndices.length());
    for (unsigned i = 0; i < fuseIndices.length(); ++i)
        indices[i] = static_cast<int>(fuseIndices[i]);
    MStatus status = rail.setInts(RailInts::fuseindices, indices);
    rail.setFlag(RailFlag::mode, mode);
    return status;
}

void clearFuse() {
    RailNode rail = RailNode::find();
    rail.setPoints(RailPoints::fusept, {});
    rail.setPoints(RailPoints::fusemesh, {});
    rail.setInts(RailInts::fuseindices, {});
    rail.setInts(RailInts::sizesShadow, {});
}

void sendPlayerPoints(const MIntArray& vertexIds) {
    RailNode::find().setPoints(RailPoints::playerpts,
                               toPolyline(vertexPoints(vertexIds, MDagPath())));
}

void setClose(bool closed) {
    RailNode::find().setFlag(RailFlag::close, closed);
}

MStatus setToMerge(const MIntArray& vertexIds) {
    writeToMerge(vertexIds);
    return MStatus::kSuccess;
}

}  // namespace tessark
