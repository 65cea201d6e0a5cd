#pragma once
// Pressing quads onto the source surface: a ray from each corner along its
// face's normal, both ways, within the snap distance (kv_distancesnap).

#include <maya/MDagPath.h>
#include <maya/MFnMesh.h>
#include <maya/MIntArray.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MString.h>
#include <maya/MVector.h>

#include <vector>

namespace tessark {

struct SurfaceHit {
    int vertex = -1;
    MPoint point;  // world space
};

struct SurfaceSnap {
    std::vector<SurfaceHit> hits;  // in the order the corners were cast
    //! The new quads face away from the source surface, or nothing was hit.
    bool reverse = true;
};

enum class SnapMoves {
    //! Collect the hits; the facing test runs at the first hit.
    collect,
    //! Move each corner to its hit at once, so later faces see it; the
    //! facing test runs at every hit and the last one counts.
    atOnce,
};

//! Casts from each corner of the listed quads of mesh (placed in the world by
//! worldMatrix) onto the source mesh.
SurfaceSnap projectOntoSource(MFnMesh& mesh, const MMatrix& worldMatrix, const MIntArray& faceIds,
                              SnapMoves moves);
//! Moves the hit corners of mesh (placed by worldMatrix) onto their hits.
MStatus applySnap(MFnMesh& mesh, const MMatrix& worldMatrix, const SurfaceSnap& snap);
//! The snap as host command text: "move -absolute x y z PATH.vtx[id]; " per hit.
MString moveCommandText(const SurfaceSnap& snap, const MDagPath& meshPath);
//! The point of the source surface nearest the given world point, in world
//! space; the point itself when there is no source mesh.
MPoint nearestOnSource(const MPoint& world);
//! Whether a face of the source mesh and the given normal point the same way.
bool isSameFacing(int sourceFaceId, const MVector& quadNormal);

}  // namespace tessark
