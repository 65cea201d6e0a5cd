#pragma once
#include <maya/MDagPath.h>
#include <maya/MFloatArray.h>
#include <maya/MIntArray.h>
#include <maya/MObject.h>
#include <maya/MPoint.h>
#include <maya/MPointArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MVector.h>
#include <maya/MVectorArray.h>

#include <memory>

namespace ehost {
struct ApiAccess;
namespace api {
class MeshCursor;
}  // namespace api
}  // namespace ehost

//! Walks the polygons of a mesh in id order, or those of a polygon component
//! in the component's order. Arguments named vertex or index that pick a
//! corner are face-relative (0 .. polygonVertexCount() - 1).
class OPENMAYA_EXPORT MItMeshPolygon {
public:
    MItMeshPolygon(const MObject& polyObject, MStatus* ReturnStatus = NULL);
    MItMeshPolygon(const MDagPath& polyObject, MObject& component = MObject::kNullObj,
                   MStatus* ReturnStatus = NULL);
    MItMeshPolygon(const MItMeshPolygon&) = delete;
    MItMeshPolygon& operator=(const MItMeshPolygon&) = delete;
    virtual ~MItMeshPolygon();

    bool isDone(MStatus* ReturnStatus = NULL);
    MStatus next();
    MStatus reset();
    MStatus reset(const MObject& polyObject);
    MStatus reset(const MDagPath& polyObject, MObject& component = MObject::kNullObj);
    int count(MStatus* ReturnStatus = NULL);
    int index(MStatus* ReturnStatus = NULL);
    MStatus setIndex(int index, int& prevIndex);
    MObject currentItem(MStatus* ReturnStatus = NULL);
    MObject polygon(MStatus* ReturnStatus = NULL) { return currentItem(ReturnStatus); }

    unsigned int polygonVertexCount(MStatus* ReturnStatus = NULL);
    MStatus getVertices(MIntArray& vertices);
    //! The mesh vertex id of a corner.
    int vertexIndex(int index, MStatus* ReturnStatus = NULL);
    //! The normal id of a corner (its face-vertex id, as MFnMesh::getNormals numbers them).
    int normalIndex(int localVertexIndex, MStatus* ReturnStatus = NULL) const;
    MPoint point(int index, MSpace::Space space = MSpace::kObject, MStatus* ReturnStatus = NULL);
    MStatus getPoints(MPointArray& pointArray, MSpace::Space space = MSpace::kObject,
                      MStatus* ReturnStatus = NULL);
    MStatus setPoint(const MPoint& point, unsigned int index,
                     MSpace::Space space = MSpace::kObject);
    MStatus setPoints(MPointArray& pointArray, MSpace::Space space = MSpace::kObject);
    //! The average of the corners.
    MPoint center(MSpace::Space space = MSpace::kObject, MStatus* ReturnStatus = NULL);
    MStatus getArea(double& area, MSpace::Space space = MSpace::kObject);

    MStatus getNormal(MVector& normal, MSpace::Space space = MSpace::kObject) const;
    //! A corner's normal (follows edge smoothing).
    MStatus getNormal(unsigned int vertexIndex, MVector& normal,
                      MSpace::Space space = MSpace::kObject) const;
    MStatus getNormals(MVectorArray& vectorArray, MSpace::Space space = MSpace::kObject) const;

    //! The polygon's edges in corner order (edge i joins corners i and i + 1).
    MStatus getEdges(MIntArray& edges);
    //! Polygons sharing an edge with this one, ascending.
    MStatus getConnectedFaces(MIntArray& faces);
    //! Edges touching this polygon's corners that are not its own, ascending.
    MStatus getConnectedEdges(MIntArray& edges);
    //! Vertices joined by an edge to this polygon's corners, not corners themselves, ascending.
    MStatus getConnectedVertices(MIntArray& vertices);
    MStatus numConnectedFaces(int& faceCount) const;
    MStatus numConnectedEdges(int& edgeCount) const;
    bool isConnectedToFace(int index, MStatus* ReturnStatus = NULL);
    //! The edge touches a corner of this polygon (its own edges included).
    bool isConnectedToEdge(int index, MStatus* ReturnStatus = NULL);
    //! The vertex is a corner of this polygon or joined to one by an edge.
    bool isConnectedToVertex(int index, MStatus* ReturnStatus = NULL);
    //! Has an edge used by no other polygon.
    bool onBoundary(MStatus* ReturnStatus = NULL);

    bool hasUVs(MStatus* ReturnStatus = NULL) const;
    bool hasUVs(const MString& uvSet, MStatus* ReturnStatus = NULL) const;
    MStatus getUVIndex(int vertex, int& index, const MString* uvSet = NULL);
    MStatus getUVIndex(int vertex, int& index, float& u, float& v, const MString* uvSet = NULL);
    MStatus getUV(int vertex, float2& uvPoint, const MString* uvSet = NULL) const;
    MStatus getUVs(MFloatArray& uArray, MFloatArray& vArray, const MString* uvSet = NULL) const;

    //! Polygons are fanned from their first corner: triangle t is
    //! (corner 0, corner t + 1, corner t + 2).
    bool hasValidTriangulation(MStatus* ReturnStatus = NULL) const;
    MStatus numTriangles(int& triCount) const;
    MStatus getTriangle(int localTriIndex, MPointArray& points, MIntArray& vertexList,
                        MSpace::Space space = MSpace::kObject) const;
    MStatus getTriangles(MPointArray& points, MIntArray& vertexList,
                         MSpace::Space space = MSpace::kObject) const;

    MStatus updateSurface();
    MStatus geomChanged();

private:
    friend struct ehost::ApiAccess;
    std::unique_ptr<ehost::api::MeshCursor> impl_;
};
