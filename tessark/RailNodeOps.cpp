#include "tessark/RailNodeOps.h"

#include <maya/MFnDagNode.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnIntArrayData.h>
#include <maya/MFnPointArrayData.h>
#include <maya/MGlobal.h>
#include <maya/MItDependencyNodes.h>
#include <maya/MItMeshEdge.h>
#include <maya/MItMeshVertex.h>
#include <maya/MPlug.h>
#include <maya/MPlugArray.h>
#include <maya/MSelectionList.h>

#include "patch/PatchHelpers.h"
#include "tessark/ApiError.h"

namespace tessark {

MObject findRailNode() {
    // The host's kind 455 takes in plug-in locators, the rail node's kind.
    for (MItDependencyNodes it(MFn::kPluginLocatorNode); !it.isDone(); it.next()) {
        MObject node = it.thisNode();
        if (MFnDependencyNode(node).hasAttribute("TessarkMesh")) return node;
    }
    return MObject();
}

MDagPath sourceMeshPath() {
    MDagPath path;
    MObject rail = findRailNode();
    if (rail.isNull()) return path;
    MPlug plug = MFnDependencyNode(rail).findPlug("TessarkMesh", true);
    MPlugArray connected;
    plug.connectedTo(connected, true, true);
    if (connected.length() > 0) MDagPath::getAPathTo(connected[0].node(), path);
    return path;
}

MDagPath createRetopoMesh() {
    MString shapeName =
        MGlobal::executeCommandStringResult("createNode \"mesh\" -n \"kvMeshShape\"", true, false);
    MSelectionList list;
    list.add(shapeName);
    MDagPath shape;
    list.getDagPath(0, shape);
    MGlobal::executeCommand("sets -e -forceElement \"initialShadingGroup\" " + shape.fullPathName(),
                            false, false);
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
    for (const auto& s : strokes) out.push_back(toPointArray(s));
    return out;
}

// ---------------------------------------------------------------- attributes

MPointArray readPointArray(const MObject& node, const char* attribute) {
    if (node.isNull()) return MPointArray();
    MStatus status;
    MPlug plug = MFnDependencyNode(node).findPlug(attribute, true, &status);
    if (!status) return MPointArray();
    MObject data = plug.asMObject();
    MFnPointArrayData fn;
    if (data.isNull() || !fn.setObject(data)) return MPointArray();
    return fn.array();
}

MIntArray readIntArray(const MObject& node, const char* attribute) {
    if (node.isNull()) return MIntArray();
    MStatus status;
    MPlug plug = MFnDependencyNode(node).findPlug(attribute, true, &status);
    if (!status) return MIntArray();
    MObject data = plug.asMObject();
    MFnIntArrayData fn;
    if (data.isNull() || !fn.setObject(data)) return MIntArray();
    return fn.array();
}

MStatus writePointArray(const MObject& node, const char* attribute, const MPointArray& points) {
    MStatus status;
    MPlug plug = MFnDependencyNode(node).findPlug(attribute, true, &status);
    if (!status) return status;
    return plug.setValue(MFnPointArrayData().create(points));
}

MStatus writeIntArray(const MObject& node, const char* attribute, const MIntArray& values) {
    MStatus status;
    MPlug plug = MFnDependencyNode(node).findPlug(attribute, true, &status);
    if (!status) return status;
    return plug.setValue(MFnIntArrayData().create(values));
}

MStatus writeNull(const MObject& node, const char* attribute) {
    MStatus status;
    MPlug plug = MFnDependencyNode(node).findPlug(attribute, true, &status);
    if (!status) return status;
    return plug.setValue(MObject::kNullObj);
}

bool readBool(const MObject& node, const char* attribute, bool fallback) {
    if (node.isNull()) return fallback;
    MStatus status;
    MPlug plug = MFnDependencyNode(node).findPlug(attribute, true, &status);
    return status ? plug.asBool() : fallback;
}

MStatus writeBool(const MObject& node, const char* attribute, bool value) {
    MStatus status;
    MPlug plug = MFnDependencyNode(node).findPlug(attribute, true, &status);
    if (!status) return status;
    return plug.setValue(value);
}

geo::StrokeSet readStrokeSet(const MObject& node, const char* pointsAttribute,
                             const char* sizesAttribute) {
    geo::StrokeSet set;
    set.points = toPolyline(readPointArray(node, pointsAttribute));
    MIntArray sizes = readIntArray(node, sizesAttribute);
    for (unsigned i = 0; i < sizes.length(); ++i) set.sizes.push_back(sizes[i]);
    return geo::clippedStrokeSet(set);
}

MStatus writeStrokeSet(const MObject& node, const char* pointsAttribute, const char* sizesAttribute,
                       const geo::StrokeSet& set, bool sizesFirst) {
    MIntArray sizes;
    for (int s : set.sizes) sizes.append(s);
    MPointArray points = toPointArray(set.points);
    if (sizesFirst) {
        MStatus status = writeIntArray(node, sizesAttribute, sizes);
        MStatus pointsStatus = writePointArray(node, pointsAttribute, points);
        return status ? pointsStatus : status;
    }
    MStatus status = writePointArray(node, pointsAttribute, points);
    MStatus sizesStatus = writeIntArray(node, sizesAttribute, sizes);
    return status ? sizesStatus : status;
}

// ---------------------------------------------------------------- stroke sets

MPointArray readStrokes(const MObject& node) {
    return readPointArray(node, "strokes");
}

MIntArray readShadowSizes() {
    return readIntArray(findRailNode(), "sizesShadow");
}

int shadowStrokeCount() {
    return static_cast<int>(readShadowSizes().length());
}

int lastShadowSize() {
    MIntArray sizes = readShadowSizes();
    return sizes.length() ? sizes[sizes.length() - 1] : -1;
}

std::vector<MPointArray> splitStrokes() {
    return toPointArrays(geo::splitStrokes(readStrokeSet(findRailNode(), "strokes", "sizes")));
}

std::vector<MPointArray> splitShadowStrokes() {
    return toPointArrays(
        geo::splitStrokes(readStrokeSet(findRailNode(), "strokesShadow", "sizesShadow")));
}

MPointArray firstShadowStroke() {
    return toPointArray(
        geo::firstStroke(readStrokeSet(findRailNode(), "strokesShadow", "sizesShadow")));
}

MStatus appendStroke(const MPointArray& points) {
    MObject rail = findRailNode();
    geo::StrokeSet set = readStrokeSet(rail, "strokes", "sizes");
    geo::appendStroke(set, toPolyline(points));
    return writeStrokeSet(rail, "strokes", "sizes", set);
}

MStatus prependStroke(const MPointArray& points) {
    MObject rail = findRailNode();
    geo::StrokeSet set = readStrokeSet(rail, "strokes", "sizes");
    geo::prependStroke(set, toPolyline(points));
    return writeStrokeSet(rail, "strokes", "sizes", set);
}

bool removeLastStroke() {
    MObject rail = findRailNode();
    geo::StrokeSet set = readStrokeSet(rail, "strokes", "sizes");
    if (!geo::removeLastStroke(set)) return false;
    writeStrokeSet(rail, "strokes", "sizes", set, true);
    return true;
}

MStatus closeStrokes() {
    MObject rail = findRailNode();
    geo::StrokeSet set = readStrokeSet(rail, "strokes", "sizes");
    geo::closeStrokes(set);
    return writePointArray(rail, "strokes", toPointArray(set.points));
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
    return readBool(findRailNode(), "isLastPlayer");
}

void setIsLastPlayer(bool value) {
    writeBool(findRailNode(), "isLastPlayer", value);
}

void setLocked(bool value) {
    writeBool(findRailNode(), "locked", value);
}

void refreshInfo() {
    MObject rail = findRailNode();
    bool display = readBool(rail, "displayInfo", true);
    if (!display) {
        MGlobal::setOptionVarValue("Tessark_info1", MString(""));
        MGlobal::setOptionVarValue("Tessark_info2", MString(""));
    }
    // Writing the flag back, even unchanged, redraws the node.
    writeBool(rail, "displayInfo", display);
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
