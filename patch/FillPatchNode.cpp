#include "patch/FillPatchNode.h"

#include <maya/MFloatArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnFloatArrayData.h>
#include <maya/MFnIntArrayData.h>
#include <maya/MFnPointArrayData.h>
#include <maya/MFnVectorArrayData.h>
#include <maya/MItMeshPolygon.h>
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

PrePatchNormals prePatchNormals() {
    PrePatchNormals out;
    MDagPath retopo;
    if (!selectedRetopologyMesh(retopo)) return out;
    for (MItMeshPolygon it(retopo); !it.isDone(); it.next()) {
        unsigned corners = it.polygonVertexCount();
        for (unsigned i = 0; i < corners; ++i) {
            MVector normal;
            it.getNormal(i, normal, MSpace::kObject);
            out.faces.append(it.index());
            out.vertices.append(it.vertexIndex(static_cast<int>(i)));
            out.normals.append(normal);
        }
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
