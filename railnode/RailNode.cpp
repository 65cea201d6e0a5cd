#include "railnode/RailNode.h"

#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnIntArrayData.h>
#include <maya/MFnPointArrayData.h>
#include <maya/MGlobal.h>
#include <maya/MItDependencyNodes.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MSelectionList.h>

#include "railnode/ApiError.h"
#include "railnode/RailAttributes.h"

namespace tessark {

namespace {

const char* nameOf(RailPoints a) {
    switch (a) {
        case RailPoints::strokes:
            return rail::strokes.longName;
        case RailPoints::playersLine:
            return rail::playersLine.longName;
        case RailPoints::strokesShadow:
            return rail::strokesShadow.longName;
        case RailPoints::strokesNondestruct:
            return rail::strokesNondestruct.longName;
        case RailPoints::playerpts:
            return rail::playerpts.longName;
        case RailPoints::magnetPt:
            return rail::magnetPt.longName;
        case RailPoints::fusept:
            return rail::fusept.longName;
        case RailPoints::fusemesh:
            return rail::fusemesh.longName;
    }
    return "";
}

const char* nameOf(RailInts a) {
    switch (a) {
        case RailInts::sizes:
            return rail::sizes.longName;
        case RailInts::sizesShadow:
            return rail::sizesShadow.longName;
        case RailInts::sizesNondestruct:
            return rail::sizesNondestruct.longName;
        case RailInts::newFaces:
            return rail::newFaces.longName;
        case RailInts::toMerge:
            return rail::toMerge.longName;
        case RailInts::fuseindices:
            return rail::fuseindices.longName;
    }
    return "";
}

const char* nameOf(RailFlag a) {
    switch (a) {
        case RailFlag::locked:
            return rail::locked.longName;
        case RailFlag::close:
            return rail::close.longName;
        case RailFlag::displayInfo:
            return rail::displayInfo.longName;
        case RailFlag::isLastPlayer:
            return rail::isLastPlayer.longName;
        case RailFlag::mode:
            return rail::mode.longName;
    }
    return "";
}

struct SetArrays {
    RailPoints points;
    RailInts sizes;
};

SetArrays arraysOf(RailStrokes set) {
    switch (set) {
        case RailStrokes::current:
            return {RailPoints::strokes, RailInts::sizes};
        case RailStrokes::shadow:
            return {RailPoints::strokesShadow, RailInts::sizesShadow};
        case RailStrokes::nondestruct:
            return {RailPoints::strokesNondestruct, RailInts::sizesNondestruct};
    }
    return {RailPoints::strokes, RailInts::sizes};
}

MPlug plugOf(const MObject& node, const char* name, MStatus* status) {
    if (node.isNull()) {
        *status = MStatus(MStatus::kInvalidParameter, "there is no rail node");
        return MPlug();
    }
    return MFnDependencyNode(node).findPlug(name, true, status);
}

//! The data object a typed plug holds, or null when it holds none.
MObject dataOf(const MObject& node, const char* name, MStatus* found) {
    MStatus status;
    MPlug plug = plugOf(node, name, &status);
    if (found) *found = status;
    return status ? plug.asMObject() : MObject();
}

}  // namespace

RailNode RailNode::find() {
    // The host's kind 455 takes in plug-in locators, the rail node's kind.
    for (MItDependencyNodes it(MFn::kPluginLocatorNode); !it.isDone(); it.next()) {
        MObject node = it.thisNode();
        if (MFnDependencyNode(node).hasAttribute(rail::TessarkMesh.longName)) return RailNode(node);
    }
    return RailNode();
}

geo::Polyline RailNode::points(RailPoints attribute, MStatus* found) const {
    MObject data = dataOf(node_, nameOf(attribute), found);
    MFnPointArrayData fn;
    if (data.isNull() || !fn.setObject(data)) return {};
    return toPolyline(fn.array());
}

std::vector<int> RailNode::ints(RailInts attribute, MStatus* found) const {
    MObject data = dataOf(node_, nameOf(attribute), found);
    MFnIntArrayData fn;
    if (data.isNull() || !fn.setObject(data)) return {};
    return toIntVector(fn.array());
}

bool RailNode::flag(RailFlag attribute, bool fallback, MStatus* found) const {
    MStatus status;
    MPlug plug = plugOf(node_, nameOf(attribute), &status);
    if (found) *found = status;
    return status ? plug.asBool() : fallback;
}

MStatus RailNode::setPoints(RailPoints attribute, const geo::Polyline& points) const {
    MStatus status;
    MPlug plug = plugOf(node_, nameOf(attribute), &status);
    if (!status) return status;
    return plug.setValue(MFnPointArrayData().create(toPointArray(points)));
}

MStatus RailNode::setInts(RailInts attribute, const std::vector<int>& values) const {
    MStatus status;
    MPlug plug = plugOf(node_, nameOf(attribute), &status);
    if (!status) return status;
    return plug.setValue(MFnIntArrayData().create(toIntArray(values)));
}

MStatus RailNode::setFlag(RailFlag attribute, bool value) const {
    MStatus status;
    MPlug plug = plugOf(node_, nameOf(attribute), &status);
    if (!status) return status;
    return plug.setValue(value);
}

MStatus RailNode::setNull(RailPoints attribute) const {
    MStatus status;
    MPlug plug = plugOf(node_, nameOf(attribute), &status);
    if (!status) return status;
    return plug.setValue(MObject::kNullObj);
}

MStatus RailNode::setNull(RailInts attribute) const {
    MStatus status;
    MPlug plug = plugOf(node_, nameOf(attribute), &status);
    if (!status) return status;
    return plug.setValue(MObject::kNullObj);
}

geo::StrokeSet RailNode::strokes(RailStrokes set) const {
    SetArrays arrays = arraysOf(set);
    geo::StrokeSet out;
    out.points = points(arrays.points);
    for (int s : ints(arrays.sizes)) out.sizes.push_back(s);
    return geo::clippedStrokeSet(out);
}

MStatus RailNode::setStrokes(RailStrokes set, const geo::StrokeSet& strokes,
                             WriteOrder order) const {
    SetArrays arrays = arraysOf(set);
    std::vector<int> sizes(strokes.sizes.begin(), strokes.sizes.end());
    if (order == WriteOrder::sizesFirst) {
        MStatus status = setInts(arrays.sizes, sizes);
        MStatus pointsStatus = setPoints(arrays.points, strokes.points);
        return status ? pointsStatus : status;
    }
    MStatus status = setPoints(arrays.points, strokes.points);
    MStatus sizesStatus = setInts(arrays.sizes, sizes);
    return status ? sizesStatus : status;
}

MStatus RailNode::clearStrokes(RailStrokes set) const {
    SetArrays arrays = arraysOf(set);
    MStatus status = setNull(arrays.points);
    MStatus sizesStatus = setNull(arrays.sizes);
    return status ? sizesStatus : status;
}

PatchRecord RailNode::patchRecord() const {
    return {ints(RailInts::newFaces), ints(RailInts::toMerge), strokes(RailStrokes::shadow)};
}

MStatus RailNode::setPatchRecord(const PatchRecord& record) const {
    MStatus status = setInts(RailInts::newFaces, record.newFaces);
    MStatus merged = setInts(RailInts::toMerge, record.toMerge);
    MStatus shadow = setStrokes(RailStrokes::shadow, record.shadow);
    if (!status) return status;
    return merged ? shadow : merged;
}

PatchRecordState RailNode::patchRecordState() const {
    PatchRecordState state;
    state.record = patchRecord();
    const SetArrays shadow = arraysOf(RailStrokes::shadow);
    state.newFacesHeld = !dataOf(node_, nameOf(RailInts::newFaces), nullptr).isNull();
    state.toMergeHeld = !dataOf(node_, nameOf(RailInts::toMerge), nullptr).isNull();
    state.shadowPointsHeld = !dataOf(node_, nameOf(shadow.points), nullptr).isNull();
    state.shadowSizesHeld = !dataOf(node_, nameOf(shadow.sizes), nullptr).isNull();
    state.locked = flag(RailFlag::locked, true);
    return state;
}

MStatus RailNode::restorePatchRecordState(const PatchRecordState& state) const {
    MStatus status = setPatchRecord(state.record);
    if (!status) return status;
    const SetArrays shadow = arraysOf(RailStrokes::shadow);
    if (!state.newFacesHeld) status = setNull(RailInts::newFaces);
    if (status && !state.toMergeHeld) status = setNull(RailInts::toMerge);
    if (status && !state.shadowPointsHeld) status = setNull(shadow.points);
    if (status && !state.shadowSizesHeld) status = setNull(shadow.sizes);
    if (status) status = setFlag(RailFlag::locked, state.locked);
    return status;
}

MDagPath RailNode::sourceMesh() const {
    MDagPath path;
    MStatus status;
    MPlug plug = plugOf(node_, rail::TessarkMesh.longName, &status);
    if (!status) return path;
    MPlugArray connected;
    plug.connectedTo(connected, true, true);
    if (connected.length() > 0) MDagPath::getAPathTo(connected[0].node(), path);
    return path;
}

MDagPath sourceMeshPath() {
    return RailNode::find().sourceMesh();
}

bool selectedRetopologyMesh(MDagPath& path) {
    path = MDagPath();
    MSelectionList selection;
    MGlobal::getActiveSelectionList(selection);
    if (selection.length() == 0) return false;
    if (!selection.getDagPath(0, path)) return false;
    return path.isValid() && path.hasFn(MFn::kMesh);
}

MDagPath createRetopoMesh() {
    // Made undoably, so that undoing the patch that needed it takes it away.
    MString shapeName =
        MGlobal::executeCommandStringResult("createNode \"mesh\" -n \"kvMeshShape\"", true, true);
    MSelectionList list;
    list.add(shapeName);
    MDagPath shape;
    list.getDagPath(0, shape);
    MGlobal::executeCommand("sets -e -forceElement \"initialShadingGroup\" " + shape.fullPathName(),
                            false, true);
    MGlobal::selectByName(shape.fullPathName(), MGlobal::kReplaceList);
    MStatus status;
    MObject transform = MFnDagNode(shape).parent(0, &status);
    MDagPath transformPath;
    status = MDagPath::getAPathTo(transform, transformPath);
    TESSARK_REPORT_ERROR(status);
    MString name = transformPath.fullPathName(&status);
    TESSARK_REPORT_ERROR(status);
    MGlobal::selectByName(name, MGlobal::kReplaceList);
    return transformPath;
}

// ---------------------------------------------------------------- conversions

geo::Polyline toPolyline(const MPointArray& points) {
    geo::Polyline out(points.length());
    for (unsigned i = 0; i < points.length(); ++i)
        out[i] = {points[i].x, points[i].y, points[i].z, points[i].w};
    return out;
}

MPointArray toPointArray(const geo::Polyline& points) {
    MPointArray out;
    out.setLength(static_cast<unsigned>(points.size()));
    for (size_t i = 0; i < points.size(); ++i)
        out[static_cast<unsigned>(i)] = MPoint(points[i].x, points[i].y, points[i].z, points[i].w);
    return out;
}

std::vector<MPointArray> toPointArrays(const std::vector<geo::Polyline>& strokes) {
    std::vector<MPointArray> out;
    out.reserve(strokes.size());
    for (const auto& s : strokes) out.push_back(toPointArray(s));
    return out;
}

std::vector<int> toIntVector(const MIntArray& values) {
    std::vector<int> out(values.length());
    for (unsigned i = 0; i < values.length(); ++i) out[i] = values[i];
    return out;
}

MIntArray toIntArray(const std::vector<int>& values) {
    MIntArray out;
    out.setLength(static_cast<unsigned>(values.size()));
    for (size_t i = 0; i < values.size(); ++i) out[static_cast<unsigned>(i)] = values[i];
    return out;
}

}  // namespace tessark
