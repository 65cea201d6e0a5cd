#include "railnode/RailNodeOps.h"

#include <maya/MGlobal.h>
#include <maya/MItMeshEdge.h>
#include <maya/MItMeshVertex.h>

#include "railnode/ApiError.h"

namespace tessark {

// ---------------------------------------------------------------- stroke sets

MPointArray readStrokes(const MObject& node) {
    return toPointArray(RailNode(node).points(RailPoints::strokes));
}

MIntArray readShadowSizes() {
    return toIntArray(RailNode::find().ints(RailInts::sizesShadow));
}

int shadowStrokeCount() {
    return static_cast<int>(readShadowSizes().length());
}

int lastShadowSize() {
    MIntArray sizes = readShadowSizes();
    return sizes.length() ? sizes[sizes.length() - 1] : -1;
}

std::vector<MPointArray> splitStrokes() {
    return toPointArrays(geo::splitStrokes(RailNode::find().strokes(RailStrokes::current)));
}

std::vector<MPointArray> splitShadowStrokes() {
    return toPointArrays(geo::splitStrokes(RailNode::find().strokes(RailStrokes::shadow)));
}

MPointArray firstShadowStroke() {
    return toPointArray(geo::firstStroke(RailNode::find().strokes(RailStrokes::shadow)));
}

MStatus appendStroke(const MPointArray& points) {
    RailNode rail = RailNode::find();
    geo::StrokeSet set = rail.strokes(RailStrokes::current);
    geo::appendStroke(set, toPolyline(points));
    return rail.setStrokes(RailStrokes::current, set);
}

MStatus prependStroke(const MPointArray& points) {
    RailNode rail = RailNode::find();
    geo::StrokeSet set = rail.strokes(RailStrokes::current);
    geo::prependStroke(set, toPolyline(points));
    return rail.setStrokes(RailStrokes::current, set);
}

bool removeLastStroke() {
    RailNode rail = RailNode::find();
    geo::StrokeSet set = rail.strokes(RailStrokes::current);
    if (!geo::removeLastStroke(set)) return false;
    rail.setStrokes(RailStrokes::current, set, WriteOrder::sizesFirst);
    return true;
}

MStatus closeStrokes() {
    RailNode rail = RailNode::find();
    geo::StrokeSet set = rail.strokes(RailStrokes::current);
    geo::closeStrokes(set);
    return rail.setPoints(RailPoints::strokes, set.points);
}

// ---------------------------------------------------------------- patch attributes

void clearStrokePoints() {
    RailNode::find().setPoints(RailPoints::strokes, {});
}

void clearStrokeSet() {
    RailNode::find().clearStrokes(RailStrokes::current);
}

void clearShadowStrokes() {
    RailNode::find().setStrokes(RailStrokes::shadow, geo::StrokeSet{});
}

void clearNewFaces() {
    RailNode::find().setNull(RailInts::newFaces);
}

MIntArray readNewFaces() {
    return toIntArray(RailNode::find().ints(RailInts::newFaces));
}

MStatus writeNewFaces(const MIntArray& faces) {
    return RailNode::find().setInts(RailInts::newFaces, toIntVector(faces));
}

MIntArray readToMerge() {
    return toIntArray(RailNode::find().ints(RailInts::toMerge));
}

MStatus writeToMerge(const MIntArray& vertexIds) {
    return RailNode::find().setInts(RailInts::toMerge, toIntVector(vertexIds));
}

MStatus lastShadowStroke(MPointArray& points, MIntArray& size) {
    points.clear();
    size.clear();
    geo::StrokeSet set = RailNode::find().strokes(RailStrokes::shadow);
    if (set.sizes.empty())
        return MStatus(MStatus::kInvalidParameter, "there are no shadow strokes");
    std::vector<geo::Polyline> strokes = geo::splitStrokes(set);
    points = toPointArray(strokes.back());
    size.append(set.sizes.back());
    return MStatus::kSuccess;
}

MStatus storeShadowPair(const MPointArray& first, const MPointArray& second) {
    geo::StrokeSet pair;
    pair.points = toPolyline(first);
    geo::Polyline tail = toPolyline(second);
    pair.points.insert(pair.points.end(), tail.begin(), tail.end());
    pair.sizes = {static_cast<int>(first.length()), static_cast<int>(second.length())};
    return RailNode::find().setStrokes(RailStrokes::shadow, pair);
}

// ---------------------------------------------------------------- flags, settings, prompts

namespace {

int spanSetting(const char* name) {
    bool exists = false;
    int value = MGlobal::optionVarIntValue(name, &exists);
    return exists ? value : 12;
}

}  // namespace

int uSpans() {
    return spanSetting("kv_uspan");
}
int vSpans() {
    return spanSetting("kv_vspan");
}

bool isLastPlayer() {
    return RailNode::find().flag(RailFlag::isLastPlayer);
}

void setIsLastPlayer(bool value) {
    RailNode::find().setFlag(RailFlag::isLastPlayer, value);
}

bool isLocked() {
    return RailNode::find().flag(RailFlag::locked, true);
}

void setLocked(bool value) {
    RailNode::find().setFlag(RailFlag::locked, value);
}

bool isClosed() {
    return RailNode::find().flag(RailFlag::close);
}

void refreshInfo() {
    RailNode rail = RailNode::find();
    bool display = rail.flag(RailFlag::displayInfo, true);
    if (!display) {
        MGlobal::setOptionVarValue("Tessark_info1", MString(""));
        MGlobal::setOptionVarValue("Tessark_info2", MString(""));
    }
    // Writing the switch back, even unchanged, redraws the node.
    rail.setFlag(RailFlag::displayInfo, display);
}

void setInfo1(const MString& text) {
    MGlobal::setOptionVarValue("Tessark_info1", text);
    refreshInfo();
}

void setInfo2(const MString& text) {
    MGlobal::setOptionVarValue("Tessark_info2", text);
    refreshInfo();
}

// ---------------------------------------------------------------- mesh points

MPointArray edgeChainPoints(const MIntArray& edgeIds, const MDagPath& mesh) {
    MPointArray chain;
    if (edgeIds.length() == 0) return chain;
    MStatus status;
    MItMeshEdge edge(mesh, MObject::kNullObj, &status);
    if (!status) return chain;
    int previous = 0;
    status = edge.setIndex(edgeIds[0], previous);
    TESSARK_REPORT_ERROR(status);
    if (!status) return chain;
    MPoint a0 = edge.point(0, MSpace::kWorld), a1 = edge.point(1, MSpace::kWorld);
    if (edgeIds.length() == 1) {
        // A single edge has no neighbour to tell its direction: its stored order.
        chain.append(a0);
        chain.append(a1);
        return chain;
    }
    status = edge.setIndex(edgeIds[1], previous);
    TESSARK_REPORT_ERROR(status);
    if (!status) return chain;
    MPoint b0 = edge.point(0, MSpace::kWorld), b1 = edge.point(1, MSpace::kWorld);
    MPoint last = (a0 == b0 || a0 == b1) ? a1 : a0;
    chain.append(last);
    for (unsigned i = 0; i < edgeIds.length(); ++i) {
        status = edge.setIndex(edgeIds[i], previous);
        TESSARK_REPORT_ERROR(status);
        if (!status) continue;
        MPoint e0 = edge.point(0, MSpace::kWorld), e1 = edge.point(1, MSpace::kWorld);
        last = e0 == last ? e1 : e0;
        chain.append(last);
    }
    return chain;
}

MPointArray vertexPoints(const MIntArray& vertexIds, const MDagPath& mesh) {
    MPointArray points;
    MDagPath path = mesh;
    if (!path.isValid()) selectedRetopologyMesh(path);
    MStatus status;
    MItMeshVertex vertex(path, MObject::kNullObj, &status);
    if (!status) return points;
    for (unsigned i = 0; i < vertexIds.length(); ++i) {
        int previous = 0;
        status = vertex.setIndex(vertexIds[i], previous);
        TESSARK_REPORT_ERROR(status);
        if (!status) continue;
        points.append(vertex.position(MSpace::kWorld));
    }
    return points;
}

}  // namespace tessark
