#pragma once
#include <maya/MDagPath.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPoint.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVector.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MFnDagNode.h>
#include <maya/MIntArray.h>
#include <maya/MMeshIsectAccelParams.h>
#include <maya/MPoint.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MVector.h>

#include <memory>

class MDGModifier;
class MSelectionList;

namespace ehost::api {
class MeshTarget;
}  // namespace ehost::api

#define kMFnMeshTolerance 1.0e-3
#define kMFnMeshPointTolerance 1.0e-10
#define kMFnMeshInstanceUnspecified -1

//! Reads and edits a polygon mesh: a mesh shape (attached through a DAG path,
//! which also gives world space, or through its node, object space only) or a
//! mesh data object (object space only).
//!
//! Vertex moves on a shape are exact: without construction history they
//! change the shape's own geometry, with history they become the shape's
//! tweaks. Topology, UV and edge smoothing edits change the shape's own
//! geometry and are refused when it has history (the next evaluation would
//! undo them). A failing call returns a failing status naming the problem and
//! leaves the mesh as it was.
class OPENMAYA_EXPORT MFnMesh : public MFnDagNode {
public:
    MFnMesh() = default;
    MFnMesh(const MObject& object, MStatus* ReturnStatus = NULL);
    MFnMesh(const MDagPath& path, MStatus* ReturnStatus = NULL);
    MFn::Type type() const override { return MFn::kMesh; }

    //! A path to a mesh shape, or to a transform with a single mesh shape below.
    MStatus setObject(const MDagPath& path);
    //! A mesh shape node or a mesh data object.
    MStatus setObject(const MObject& object) override;
    MStatus setObject(MObject& object) override {
        return setObject(static_cast<const MObject&>(object));
    }

    // ---- Creation ------------------------------------------------------------
    //
    // parentOrOwner: a mesh data object to fill (returned), a transform to put a
    // new mesh shape under (the shape is returned), or null for a new transform
    // and shape (polySurface1 / polySurfaceShape1; the transform is returned).
    // The function set is attached to the new mesh afterwards. Given U and V
    // arrays become the current UV set's values; assign them with assignUVs.

    MObject create(int numVertices, int numPolygons, const MFloatPointArray& vertexArray,
                   const MIntArray& polygonCounts, const MIntArray& polygonConnects,
                   MObject parentOrOwner = MObject::kNullObj, MStatus* ReturnStatus = NULL);
    MObject create(int numVertices, int numPolygons, const MPointArray& vertexArray,
                   const MIntArray& polygonCounts, const MIntArray& polygonConnects,
                   MObject parentOrOwner = MObject::kNullObj, MStatus* ReturnStatus = NULL);
    MObject create(int numVertices, int numPolygons, const MFloatPointArray& vertexArray,
                   const MIntArray& polygonCounts, const MIntArray& polygonConnects,
                   const MFloatArray& uArray, const MFloatArray& vArray,
                   MObject parentOrOwner = MObject::kNullObj, MStatus* ReturnStatus = NULL);
    MObject create(int numVertices, int numPolygons, const MPointArray& vertexArray,
                   const MIntArray& polygonCounts, const MIntArray& polygonConnects,
                   const MFloatArray& uArray, const MFloatArray& vArray,
                   MObject parentOrOwner = MObject::kNullObj, MStatus* ReturnStatus = NULL);
    //! A new mesh equal to source (a mesh shape, as it shows, or mesh data),
    //! placed like create places it.
    MObject copy(const MObject& source, MObject parentOrOwner = MObject::kNullObj,
                 MStatus* ReturnStatus = NULL);

    // ---- Editing -------------------------------------------------------------

    //! Appends a polygon through the given corners (object space). With
    //! mergeVertices, a corner within pointTolerance of an existing vertex
    //! reuses it; other corners become new vertices numbered in order. When the
    //! set is attached to nothing, a new mesh made of this polygon is created
    //! and placed like create places it (that object is returned); otherwise
    //! the attached object is returned.
    MObject addPolygon(const MPointArray& vertexArray, bool mergeVertices = true,
                       double pointTolerance = kMFnMeshPointTolerance,
                       MObject parentOrOwner = MObject::kNullObj, MStatus* ReturnStatus = NULL);
    MObject addPolygon(const MPointArray& vertexArray, int& faceIndex, bool mergeVertices = true,
                       double pointTolerance = kMFnMeshPointTolerance,
                       MObject parentOrOwner = MObject::kNullObj, MStatus* ReturnStatus = NULL);
    //! Removes a face; later faces move down by one and vertices only it used
    //! are removed (the others are renumbered compactly). The deletion happens
    //! at once; a modifier, when given, is not used.
    MStatus deleteFace(int faceId, MDGModifier* modifier = NULL);

    // ---- Sizes and topology ------------------------------------------------------

    int numVertices(MStatus* ReturnStatus = NULL) const;
    int numEdges(MStatus* ReturnStatus = NULL) const;
    int numPolygons(MStatus* ReturnStatus = NULL) const;
    int numFaceVertices(MStatus* ReturnStatus = NULL) const;
    int polygonVertexCount(int polygonId, MStatus* ReturnStatus = NULL) const;
    //! One normal per face-vertex (see getNormals).
    int numNormals(MStatus* ReturnStatus = NULL) const;

    MStatus getVertices(MIntArray& vertexCount, MIntArray& vertexList) const;
    MStatus getPolygonVertices(int polygonId, MIntArray& vertexList) const;
    MStatus getEdgeVertices(int edgeId, int2& vertexList) const;
    //! Fan triangles: triangle t of a polygon is (v0, v[t+1], v[t+2]).
    MStatus getPolygonTriangleVertices(int polygonId, int triangleId, int vertexList[3]) const;
    MStatus getTriangles(MIntArray& triangleCounts, MIntArray& triangleVertices) const;
    //! Whether the polygon has an edge used by no other polygon.
    bool onBoundary(int polygonId, MStatus* ReturnStatus = NULL) const;

    // ---- Points ----------------------------------------------------------------

    MStatus getPoints(MFloatPointArray& vertexArray, MSpace::Space space = MSpace::kObject) const;
    MStatus getPoints(MPointArray& vertexArray, MSpace::Space space = MSpace::kObject) const;
    MStatus setPoints(const MFloatPointArray& vertexArray, MSpace::Space space = MSpace::kObject);
    MStatus setPoints(const MPointArray& vertexArray, MSpace::Space space = MSpace::kObject);
    MStatus getPoint(int vertexId, MPoint& pos, MSpace::Space space = MSpace::kObject) const;
    MStatus setPoint(int vertexId, const MPoint& pos, MSpace::Space space = MSpace::kObject);

    // ---- Normals -----------------------------------------------------------------
    //
    // Face-vertex normals follow edge smoothing: across a hard edge the faces
    // keep their own normals. getNormals returns one normal per face-vertex, so
    // a face-vertex's normal id is its face-vertex id.

    MStatus getPolygonNormal(int polygonId, MVector& normal,
                             MSpace::Space space = MSpace::kObject) const;
    //! Average of the unit normals of the faces around the vertex.
    MStatus getVertexNormal(int vertexId, MVector& normal,
                            MSpace::Space space = MSpace::kObject) const;
    //! angleWeighted weighs each face by the angle of its corner at the vertex.
    MStatus getVertexNormal(int vertexId, bool angleWeighted, MVector& normal,
                            MSpace::Space space = MSpace::kObject) const;
    MStatus getVertexNormals(bool angleWeighted, MFloatVectorArray& normals,
                             MSpace::Space space = MSpace::kObject) const;
    //! vertexIndex is a mesh vertex id that must be a corner of the face.
    MStatus getFaceVertexNormal(int faceIndex, int vertexIndex, MVector& normal,
                                MSpace::Space space = MSpace::kObject) const;
    MStatus getFaceVertexNormals(int faceIndex, MFloatVectorArray& normals,
                                 MSpace::Space space = MSpace::kObject) const;
    MStatus getNormals(MFloatVectorArray& normals, MSpace::Space space = MSpace::kObject) const;
    MStatus getNormalIds(MIntArray& normalIdCounts, MIntArray& normalIds) const;
    MStatus getFaceNormalIds(int faceIndex, MIntArray& normals) const;

    // ---- Edge smoothing ------------------------------------------------------------

    bool isEdgeSmooth(int edgeId, MStatus* ReturnStatus = NULL) const;
    MStatus setEdgeSmoothing(int edgeId, bool smooth = true);
    //! smooths[i] != 0 makes edgeIds[i] smooth; every id is checked first.
    MStatus setEdgeSmoothings(const MIntArray& edgeIds, const MIntArray& smooths);
    //! Normals always follow the smoothing flags; kept for code written for the
    //! host, where this call brings them up to date.
    MStatus cleanupEdgeSmoothing();
    //! Edits are seen at once; kept for code written for the host.
    MStatus updateSurface();
    MStatus syncObject();

    // ---- UV sets ---------------------------------------------------------------------
    //
    // uvSet NULL means the current set. A polygon has UVs on all its corners
    // or none; vertexIndex arguments here are corners of the polygon (0..n-1).

    int numUVSets(MStatus* ReturnStatus = NULL) const;
    int numUVs(MStatus* ReturnStatus = NULL) const;
    int numUVs(const MString& uvSet, MStatus* ReturnStatus = NULL) const;
    MStatus getUVSetNames(MStringArray& setNames) const;
    MStatus getCurrentUVSetName(MString& setName, int instance = kMFnMeshInstanceUnspecified) const;
    MString currentUVSetName(int instance = kMFnMeshInstanceUnspecified,
                             MStatus* ReturnStatus = NULL) const;
    MStatus setCurrentUVSetName(const MString& setName, MDGModifier* modifier = NULL,
                                MSelectionList* currentSelection = NULL);
    //! A new empty set; a name in use gets a number suffix, written back to uvSetName.
    MStatus createUVSet(MString& uvSetName, MDGModifier* modifier = NULL,
                        const MSelectionList* instances = NULL);
    MString createUVSetWithName(const MString& uvSetName, MDGModifier* modifier = NULL,
                                const MSelectionList* instances = NULL,
                                MStatus* ReturnStatus = NULL);
    MStatus createUVSetDataMesh(MString& uvSetName);
    MString createUVSetDataMeshWithName(const MString& uvSetName, MStatus* ReturnStatus = NULL);
    MStatus deleteUVSet(const MString& setName, MDGModifier* modifier = NULL,
                        MSelectionList* currentSelection = NULL);

    MStatus setUVs(const MFloatArray& uArray, const MFloatArray& vArray,
                   const MString* uvSet = NULL);
    MStatus getUVs(MFloatArray& uArray, MFloatArray& vArray, const MString* uvSet = NULL) const;
    MStatus setUV(int uvId, float u, float v, const MString* uvSet = NULL);
    MStatus getUV(int uvId, float& u, float& v, const MString* uvSet = NULL) const;
    //! uvCounts: per polygon, 0 or its corner count; uvIds: the assigned
    //! polygons' UV ids, corner by corner.
    MStatus assignUVs(const MIntArray& uvCounts, const MIntArray& uvIds,
                      const MString* uvSet = NULL);
    MStatus getAssignedUVs(MIntArray& uvCounts, MIntArray& uvIds,
                           const MString* uvSet = NULL) const;
    MStatus getPolygonUVid(int polygonId, int vertexIndex, int& uvId,
                           const MString* uvSet = NULL) const;
    MStatus getPolygonUV(int polygonId, int vertexIndex, float& u, float& v,
                         const MString* uvSet = NULL) const;
    //! Removes the set's UVs and their assignment.
    MStatus clearUVs(const MString* uvSet = NULL);

    // ---- Ray and proximity queries -------------------------------------------------------
    //
    // Rays: raySource + t * rayDirection; the direction need not be unit length
    // and t is measured in units of it. In world space the ray is taken into
    // object space, so t means the same in both. A hit counts when
    // 0 <= t <= maxParam, or |t| <= maxParam with testBothDirections (then t is
    // negative behind the source). Front and back faces are both hit. Hits
    // closer than tolerance to each other along the ray are one hit.
    // faceIds limits the candidates to those faces; triIds, given with faceIds,
    // pairs each face id with one of its triangle ids (fan triangles, as in
    // getPolygonTriangleVertices); alone it limits every face to those triangle
    // ids. idsSorted and accelParams do not change results: every query uses the
    // mesh's BVH, built once per mesh version.
    //
    // A query that runs returns success whether or not it hits.

    static MMeshIsectAccelParams autoUniformGridParams();
    static MMeshIsectAccelParams uniformGridParams(int xDivisions, int yDivisions, int zDivisions);
    //! The BVH belongs to the mesh version; nothing to free.
    MStatus freeCachedIntersectionAccelerator();

    bool closestIntersection(const MFloatPoint& raySource, const MFloatVector& rayDirection,
                             const MIntArray* faceIds, const MIntArray* triIds, bool idsSorted,
                             MSpace::Space space, float maxParam, bool testBothDirections,
                             MMeshIsectAccelParams* accelParams, MFloatPoint& hitPoint,
                             float* hitRayParam, int* hitFace, int* hitTriangle, float* hitBary1,
                             float* hitBary2, float tolerance = 1e-6,
                             MStatus* ReturnStatus = NULL) const;
    bool anyIntersection(const MFloatPoint& raySource, const MFloatVector& rayDirection,
                         const MIntArray* faceIds, const MIntArray* triIds, bool idsSorted,
                         MSpace::Space space, float maxParam, bool testBothDirections,
                         MMeshIsectAccelParams* accelParams, MFloatPoint& hitPoint,
                         float* hitRayParam, int* hitFace, int* hitTriangle, float* hitBary1,
                         float* hitBary2, float tolerance = 1e-6,
                         MStatus* ReturnStatus = NULL) const;
    //! Every hit; sorted by t (nearest first) whatever sortHits says.
    bool allIntersections(const MFloatPoint& raySource, const MFloatVector& rayDirection,
                          const MIntArray* faceIds, const MIntArray* triIds, bool idsSorted,
                          MSpace::Space space, float maxParam, bool testBothDirections,
                          MMeshIsectAccelParams* accelParams, bool sortHits,
                          MFloatPointArray& hitPoints, MFloatArray* hitRayParams,
                          MIntArray* hitFaces, MIntArray* hitTriangles, MFloatArray* hitBary1s,
                          MFloatArray* hitBary2s, float tolerance = 1e-6,
                          MStatus* ReturnStatus = NULL) const;
    //! Every hit along the positive ray, nearest first, with the polygon of each.
    bool intersect(const MPoint& raySource, const MVector& rayDirection, MPointArray& points,
                   double tolerance = kMFnMeshPointTolerance, MSpace::Space space = MSpace::kObject,
                   MIntArray* polygonIds = NULL, MStatus* ReturnStatus = NULL) const;

    //! The nearest point of the surface. In world space the search runs in
    //! object space on the point taken there, and the answer is taken back:
    //! under a non-uniform scale it is the nearest point by object-space
    //! distance, which need not be the nearest by world distance.
    MStatus getClosestPoint(const MPoint& toThisPoint, MPoint& theClosestPoint,
                            MSpace::Space space = MSpace::kObject, int* closestPolygon = NULL,
                            MMeshIsectAccelParams* accelParams = NULL) const;
    //! The surface normal there, interpolated from the face-vertex normals.
    MStatus getClosestNormal(const MPoint& toThisPoint, MVector& theNormal,
                             MSpace::Space space = MSpace::kObject, int* closestPolygon = NULL,
                             MMeshIsectAccelParams* accelParams = NULL) const;
    MStatus getClosestPointAndNormal(const MPoint& toThisPoint, MPoint& theClosestPoint,
                                     MVector& theNormal, MSpace::Space space = MSpace::kObject,
                                     int* closestPolygon = NULL,
                                     MMeshIsectAccelParams* accelParams = NULL) const;

private:
    friend struct ehost::ApiAccess;
    struct Impl {
        std::shared_ptr<const ehost::api::MeshTarget> target;
    };
    Impl impl_;

    MStatus attachTo(std::shared_ptr<const ehost::api::MeshTarget> target, MStatus status);
    //! Attaches to a newly made mesh when status is success; returns what the
    //! creating call hands back.
    MObject adopt(std::shared_ptr<const ehost::api::MeshTarget> target, const MObject& returned,
                  const MStatus& status, MStatus* ReturnStatus);
};
