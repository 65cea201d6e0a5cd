#pragma once
#include <maya/MDagPath.h>
#include <maya/MFloatArray.h>
#include <maya/MIntArray.h>
#include <maya/MObject.h>
#include <maya/MPoint.h>
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

//! Walks the vertices of a mesh in id order, or those of a vertex component
//! in the component's order. Connected edges, faces and vertices come in
//! ascending id order. World space needs the mesh given by a DAG path.
class OPENMAYA_EXPORT MItMeshVertex {
public:
    MItMeshVertex(const MObject& polyObject, MStatus* ReturnStatus = NULL);
    MItMeshVertex(const MDagPath& polyObject, MObject& component = MObject::kNullObj,
                  MStatus* ReturnStatus = NULL);
    MItMeshVertex(const MItMeshVertex&) = delete;
    MItMeshVertex& operator=(const MItMeshVertex&) = delete;
    virtual ~MItMeshVertex();

    bool isDone(MStatus* ReturnStatus = NULL);
    MStatus next();
    MStatus reset();
    MStatus reset(const MObject& polyObject);
    MStatus reset(const MDagPath& polyObject, MObject& component = MObject::kNullObj);
    //! Number of vertices in the iteration.
    int count(MStatus* ReturnStatus = NULL);
    int index(MStatus* ReturnStatus = NULL);
    //! Moves to a vertex of the mesh; an id that does not exist is refused.
    MStatus setIndex(int index, int& prevIndex);
    MObject currentItem(MStatus* ReturnStatus = NULL);
    MObject vertex(MStatus* ReturnStatus = NULL) { return currentItem(ReturnStatus); }

    MPoint position(MSpace::Space space = MSpace::kObject, MStatus* ReturnStatus = NULL);
    //! Exact: the mesh shows the given position (as a tweak with history).
    MStatus setPosition(const MPoint& point, MSpace::Space space = MSpace::kObject);
    MStatus translateBy(const MVector& vector, MSpace::Space space = MSpace::kObject);
    //! The average of the unit normals of the faces around the vertex.
    MStatus getNormal(MVector& vector, MSpace::Space space = MSpace::kObject);
    //! The vertex's normal in one face (follows edge smoothing).
    MStatus getNormal(MVector& vector, int faceIndex, MSpace::Space space = MSpace::kObject);
    //! One face-vertex normal per connected face, in getConnectedFaces order.
    MStatus getNormals(MVectorArray& vectorArray, MSpace::Space space = MSpace::kObject);
    MStatus getNormalIndices(MIntArray& normalIndices);

    MStatus getConnectedEdges(MIntArray& edgeList);
    MStatus getConnectedFaces(MIntArray& faceList);
    //! The other end of each of getConnectedEdges, in the same order.
    MStatus getConnectedVertices(MIntArray& vertexList);
    MStatus numConnectedEdges(int& edgeCount) const;
    MStatus numConnectedFaces(int& faceCount) const;
    bool connectedToEdge(int edgeIndex, MStatus* ReturnStatus = NULL);
    bool connectedToFace(int faceIndex, MStatus* ReturnStatus = NULL);
    MStatus getOppositeVertex(int& vertexId, int edgeId);
    //! On an edge used by only one face.
    bool onBoundary(MStatus* ReturnStatus = NULL);

    //! UVs of the vertex in each connected face that has UVs.
    MStatus getUVs(MFloatArray& uArray, MFloatArray& vArray, MIntArray& faceIds,
                   const MString* uvSet = NULL);
    MStatus getUV(int faceId, float2& uvPoint, const MString* uvSet = NULL);
    MStatus getUVIndices(MIntArray& uvIndices, const MString* uvSet = NULL);
    MStatus numUVs(int& uvCount, const MString* uvSet = NULL);

    MStatus updateSurface();
    MStatus geomChanged();

private:
    friend struct ehost::ApiAccess;
    std::unique_ptr<ehost::api::MeshCursor> impl_;
};
