#include "patch/FillPatchNode.h"

#include <maya/MFloatArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnFloatArrayData.h>
#include <maya/MFnIntArrayData.h>
#include <maya/MFnPointArrayData.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MPlug.h>
#include <maya/MPointArray.h>
#include <maya/MSelectionList.h>
#include <maya/MVectorArray.h>

#include <vector>

#include "geometry/patch_arrays.h"
#include "railnode/RailNode.h"

namespace tessark {

namespace {

struct PrePatchNormals {
    MVectorArray normals;
    MIntArray faces;
    MIntArray vertices;
};

//! Every face-vertex of the mesh with its face, its vertex and its normal,
//! face after face, read in bulk.
PrePatchNormals prePatchNormals() {
    PrePatchNormals out;
    MDagPath retopo;
    if (!selectedRetopologyMesh(retopo)) return out;
    MFnMesh mesh(retopo);
    MIntArray counts;
    MFloatVectorArray normals;
    MIntArray normalCounts, normalIds;
    if (!mesh.getVertices(counts, out.vertices) || !mesh.getNormals(normals, MSpace::kObject) ||
        !mesh.getNormalIds(normalCounts, normalIds) || normalIds.length() != out.vertices.length())
        return PrePatchNormals();
    out.faces.setLength(out.vertices.length());
    out.normals.setLength(out.vertices.length());
    unsigned k = 0;
    for (unsigned f = 0; f < counts.length(); ++f)
        for (int c = 0; c < counts[f]; ++c, ++k) {
            out.faces[k] = static_cast<int>(f);
            const int n = normalIds[k];
            out.normals[k] = n >= 0 && static_cast<unsigned>(n) < normals.length()
                                 ? MVector(normals[static_cast<unsigned>(n)])
                                 : MVector();
        }
    return out;
}

class AttributeWriter {
public:
    explicit AttributeWriter(const MObject& node) : node_(node) {}
    void set(const char* name, const MObject& data) { report(name, plug(name).setValue(data)); }
    void set(const char* name, int value) { report(name, plug(name).setValue(value)); }

private:
    MPlug plug(const char* name) { return node_.findPlug(name, true); }
    static void report(const char* name, const MStatus& status) {
        if (!status) status.perror(MString("error set this attribute-->>") + name);
    }
    MFnDependencyNode node_;
};

}  // namespace

MStatus fillPatchNode(MFnMesh& mesh, bool reverse, const MString& nodeName,
                      const MIntArray& newFaces) {
    mesh.updateSurface();
    int numVertices = mesh.numVertices();
    int numPolygons = mesh.numPolygons();
    MPointArray points;
    mesh.getPoints(points, MSpace::kObject);
    MIntArray counts, connects;
    mesh.getVertices(counts, connects);
    MString uvSet;
    mesh.getCurrentUVSetName(uvSet);
    MFloatArray us, vs;
    mesh.getUVs(us, vs, &uvSet);
    PrePatchNormals normals = prePatchNormals();

    MIntArray uvCounts, uvIds;
    mesh.getAssignedUVs(uvCounts, uvIds);
    MIntArray edgeIds, smoothing;
    int edges = mesh.numEdges();
    for (int e = 0; e < edges; ++e) {
        edgeIds.append(e);
        smoothing.append(mesh.isEdgeSmooth(e) ? 1 : 0);
    }
    if (reverse) {
        std::vector<int> flat(connects.length());
        for (unsigned i = 0; i < connects.length(); ++i) flat[i] = connects[i];
        geo::reverseNewQuads(flat, newFaces.length());
        for (unsigned i = 0; i < connects.length(); ++i) connects[i] = flat[i];
    }
    MSelectionList list;
    list.add(nodeName);
    MObject node;
    list.getDependNode(0, node);
    // Without the node every write below fails and reports its attribute.
    AttributeWriter write(node);
    write.set("vertexarray", MFnPointArrayData().create(points));
    write.set("polycount", MFnIntArrayData().create(counts));
    write.set("polyconnect", MFnIntArrayData().create(connects));
    write.set("numpolys", numPolygons);
    write.set("numverts", numVertices);
    write.set("reverse", reverse ? 1 : 0);
    write.set("uarray", MFnFloatArrayData().create(us));
    write.set("varray", MFnFloatArrayData().create(vs));
    write.set("normalsin", MFnVectorArrayData().create(normals.normals));
    write.set("facelist", MFnIntArrayData().create(normals.faces));
    write.set("vertexlist", MFnIntArrayData().create(normals.vertices));
    write.set("hardenvalues", MFnIntArrayData().create(smoothing));
    write.set("edgesharden", MFnIntArrayData().create(edgeIds));
    write.set("polycountUV", MFnIntArrayData().create(uvCounts));
    write.set("polyconnUV", MFnIntArrayData().create(uvIds));
    return MStatus::kSuccess;
}

}  // namespace tessark
