#pragma once
// What the patch actions build into: a working copy of the retopology mesh
// (or a detached empty mesh), the sink that appends quads to it with vertex
// merging, and the steps around it (the merge tolerance, the patch node that
// the copy's mesh is written into).

#include <maya/MDagPath.h>
#include <maya/MFnMesh.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>

#include <maya/MIntArray.h>

#include <vector>

#include "geometry/mesh_sink.h"

namespace tessark {

//! Quads go into the mesh through the host's addPolygon with vertex merging.
class MeshFnSink : public geo::MeshSink {
public:
    explicit MeshFnSink(MFnMesh& mesh) : mesh_(mesh) {}
    int appendQuad(const geo::Quad& quad, double tolerance) override;
    int vertexCount() const override { return mesh_.numVertices(); }

private:
    MFnMesh& mesh_;
};

//! The working copy: a duplicate of the mesh's transform, or an empty mesh
//! data object built outside the scene when the copy cannot be used.
struct WorkingCopy {
    MString copyPath;   // the copy's transform while it exists
    MObject copyShape;  // the copy's mesh shape
    MObject detached;   // mesh data built outside the scene
    MFnMesh mesh;

    //! Duplicates the transform of meshPath (not as an instance).
    static WorkingCopy of(const MDagPath& meshPath);
    //! From now on the quads go into a new, empty mesh data object.
    void detach();
    //! Attaches mesh to the copy's shape or to the detached data.
    bool attach();
    //! Deletes the copy from the scene (once).
    void dropCopy();
};

//! The vertex ids of the far row of a grid of quads, as the mesh holds them:
//! faces[first ...] are `columns` runs of `rowsPerRun` quads, each quad with
//! its far side on corners 3 and 2. With runs along the columns (a grid),
//! the far row is the last quad of each run; with runs along the rows (a
//! bridge, one run per row), it is the last run. Empty when the faces
//! cannot tell (no quad built, or a face that is not one).
MIntArray farRowOf(MFnMesh& mesh, const std::vector<int>& faces, size_t first, int runs, int perRun,
                   bool runsAreColumns);

//! kv_mergThreshold, 0.001 when unset.
double mergeTolerance();
//! The vertex count of a mesh as its geometry iterator counts it.
int vertexCount(const MDagPath& mesh);
//! The node feeding the mesh shape's inMesh, by name.
MString patchNodeFeeding(const MDagPath& meshPath);
//! Inserts a fresh patch node into the mesh's history ("kvPatchCmd -m").
MStatus insertPatchNode(const MDagPath& meshPath);
//! Points moved by a matrix; the identity leaves them exactly as they are.
MPointArray transformed(const MPointArray& points, const MMatrix& matrix);

}  // namespace tessark
