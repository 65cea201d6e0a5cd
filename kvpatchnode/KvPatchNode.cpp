#include "kvpatchnode/KvPatchNode.h"

#include <maya/MDataBlock.h>
#include <maya/MDataHandle.h>
#include <maya/MFloatArray.h>
#include <maya/MFnFloatArrayData.h>
#include <maya/MFnIntArrayData.h>
#include <maya/MFnMesh.h>
#include <maya/MFnMeshData.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnPointArrayData.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MIntArray.h>
#include <maya/MPlugArray.h>
#include <maya/MPointArray.h>
#include <maya/MVectorArray.h>

#include "railnode/ApiError.h"

const MTypeId kvPatchNode::id(0x80026);

MObject kvPatchNode::numpolys;
MObject kvPatchNode::numverts;
MObject kvPatchNode::polycount;
MObject kvPatchNode::polyconnect;
MObject kvPatchNode::headmerge;
MObject kvPatchNode::tailmerge;
MObject kvPatchNode::uarray;
MObject kvPatchNode::varray;
MObject kvPatchNode::vertexarray;
MObject kvPatchNode::reverse;
MObject kvPatchNode::normalsin;
MObject kvPatchNode::facelist;
MObject kvPatchNode::vertexlist;
MObject kvPatchNode::hardenvalues;
MObject kvPatchNode::edgesharden;
MObject kvPatchNode::polycountUV;
MObject kvPatchNode::polyconnUV;
MObject kvPatchNode::inMesh;
MObject kvPatchNode::outMesh;

void* kvPatchNode::creator() {
    return new kvPatchNode;
}

namespace {

// Flags as set on the patch node's attributes; the others keep the host's defaults.
enum Flag : unsigned { kHidden = 1, kStorable = 2, kWritable = 4, kKeyable = 8 };

void setFlags(MFnAttribute& fn, unsigned flags) {
    if (flags & kHidden) fn.setHidden(true);
    if (flags & kStorable) fn.setStorable(true);
    if (flags & kWritable) fn.setWritable(true);
    if (flags & kKeyable) fn.setKeyable(true);
}

MObject typed(const char* name, const char* shortName, MFnData::Type type, unsigned flags) {
    MFnTypedAttribute fn;
    MStatus status;
    MObject attr = fn.create(name, shortName, type, MObject::kNullObj, &status);
    KV_REPORT_ERROR(status);
    setFlags(fn, flags);
    return attr;
}

MObject numeric(const char* name, const char* shortName, MFnNumericData::Type type, double value,
                unsigned flags) {
    MFnNumericAttribute fn;
    MStatus status;
    MObject attr = fn.create(name, shortName, type, value, &status);
    KV_REPORT_ERROR(status);
    setFlags(fn, flags);
    return attr;
}

//! An array attribute's value, empty when the attribute holds no data.
template <class Fn, class Array>
Array arrayOf(MDataBlock& data, const MObject& attr) {
    MObject o = data.inputValue(attr).data();
    Fn fn;
    if (o.isNull() || !fn.setObject(o)) return Array();
    return fn.array();
}

MIntArray intArray(MDataBlock& data, const MObject& attr) {
    return arrayOf<MFnIntArrayData, MIntArray>(data, attr);
}
MFloatArray floatArray(MDataBlock& data, const MObject& attr) {
    return arrayOf<MFnFloatArrayData, MFloatArray>(data, attr);
}
MPointArray pointArray(MDataBlock& data, const MObject& attr) {
    return arrayOf<MFnPointArrayData, MPointArray>(data, attr);
}

}  // namespace

MStatus kvPatchNode::initialize() {
    numpolys = numeric("numpolys", "np", MFnNumericData::kInt, 0, kHidden | kStorable | kKeyable);
    numverts = numeric("numverts", "nv", MFnNumericData::kInt, 0, kHidden | kStorable | kKeyable);
    polycount = typed("polycount", "pcu", MFnData::kIntArray, kHidden | kStorable | kWritable);
    polyconnect = typed("polyconnect", "pcn", MFnData::kIntArray, kHidden | kStorable | kWritable);
    headmerge = typed("headmerge", "hm", MFnData::kIntArray, kHidden | kStorable | kWritable);
    tailmerge = typed("tailmerge", "tm", MFnData::kIntArray, kHidden | kStorable | kWritable);
    uarray = typed("uarray", "us", MFnData::kFloatArray, kHidden | kStorable | kWritable);
    varray = typed("varray", "vs", MFnData::kFloatArray, kHidden | kStorable | kWritable);
    vertexarray = typed("vertexarray", "va", MFnData::kPointArray, kHidden | kStorable | kKeyable);
    reverse = numeric("reverse", "r", MFnNumericData::kBoolean, 1, kStorable | kWritable);
    normalsin = typed("normalsin", "ni", MFnData::kVectorArray, kHidden | kStorable | kWritable);
    facelist = typed("facelist", "fl", MFnData::kIntArray, kHidden | kStorable | kWritable);
    vertexlist = typed("vertexlist", "vl", MFnData::kIntArray, kHidden | kStorable | kWritable);
    hardenvalues = typed("hardenvalues", "hv", MFnData::kIntArray, kHidden | kStorable | kWritable);
    edgesharden = typed("edgesharden", "eh", MFnData::kIntArray, kHidden | kStorable | kWritable);
    polycountUV = typed("polycountUV", "pcuv", MFnData::kIntArray, kHidden | kStorable | kWritable);
    polyconnUV = typed("polyconnUV", "pcov", MFnData::kIntArray, kHidden | kStorable | kWritable);
    inMesh = typed("inMesh", "im", MFnData::kMesh, kHidden | kStorable | kKeyable);
    {
        MFnTypedAttribute fn;
        MStatus status;
        outMesh = fn.create("outMesh", "om", MFnData::kMesh, MObject::kNullObj, &status);
        KV_REPORT_ERROR(status);
        fn.setHidden(true);
        fn.setKeyable(true);
        fn.setStorable(false);
    }

    for (MObject* attr :
         {&outMesh, &inMesh, &uarray, &varray, &vertexarray, &polyconnect, &polycount, &numpolys,
          &numverts, &reverse, &normalsin, &facelist, &vertexlist, &hardenvalues, &edgesharden,
          &polycountUV, &polyconnUV, &headmerge, &tailmerge})
        addAttribute(*attr);
    for (MObject* driver : {&vertexarray, &polycountUV, &polyconnUV, &polyconnect, &polycount,
                            &numpolys, &numverts, &inMesh})
        attributeAffects(*driver, outMesh);
    return MStatus::kSuccess;
}

MStatus kvPatchNode::compute(const MPlug& plug, MDataBlock& data) {
    if (plug != outMesh) {
        data.setClean(plug);
        return MStatus::kSuccess;
    }
    int nodeState = data.inputValue(state).asInt();
    MDataHandle inMeshHandle = data.inputValue(inMesh);
    MDataHandle outMeshHandle = data.outputValue(outMesh);

    int polygons = data.inputValue(numpolys).asInt();
    int vertices = data.inputValue(numverts).asInt();
    MIntArray counts = intArray(data, polycount);
    MIntArray connects = intArray(data, polyconnect);
    MPointArray points = pointArray(data, vertexarray);
    MFloatArray us = floatArray(data, uarray);
    MFloatArray vs = floatArray(data, varray);
    // The reverse flag and the pre-patch normals, faces and vertices are
    // stored for the patch-building code; the mesh does not depend on them,
    // so they are not copied out here.
    MIntArray smoothing = intArray(data, hardenvalues);
    MIntArray smoothedEdges = intArray(data, edgesharden);
    MIntArray uvCounts = intArray(data, polycountUV);
    MIntArray uvIds = intArray(data, polyconnUV);

    if (nodeState == 1) {
        outMeshHandle.copy(inMeshHandle);
        data.setClean(plug);
        return MStatus::kUnknownParameter;
    }
    if (polygons == 0 && vertices == 0 && uvIds.length() == 0 && points.length() == 0 &&
        connects.length() == 0) {
        outMeshHandle.copy(inMeshHandle);
        data.setClean(plug);
        return MStatus::kSuccess;
    }

    MFnMeshData dataCreator;
    MObject newData = dataCreator.create();
    MFnMesh meshFn;
    MStatus status;
    meshFn.create(vertices, polygons, points, counts, connects, us, vs, newData, &status);
    if (!status) {
        // Arrays that do not describe a mesh must not replace it with a broken
        // one: report why and keep showing the input.
        KV_REPORT_ERROR(status);
        outMeshHandle.copy(inMeshHandle);
        data.setClean(plug);
        return status;
    }
    meshFn.assignUVs(uvCounts, uvIds);
    status = meshFn.setEdgeSmoothings(smoothedEdges, smoothing);
    status = meshFn.cleanupEdgeSmoothing();
    meshFn.updateSurface();
    MStatus setStatus = outMeshHandle.set(newData);
    KV_REPORT_ERROR(setStatus);
    data.setClean(plug);
    return status;
}

MStatus kvPatchNode::setDependentsDirty(const MPlug& plug, MPlugArray& plugArray) {
    if (plug != polyconnUV) return MStatus::kSuccess;
    MStatus status;
    MPlug out(thisMObject(), outMesh);
    if (out.isNull(&status) || !status) return MStatus::kFailure;
    plugArray.append(out);
    return status;
}
