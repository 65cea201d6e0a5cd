#pragma once
#include <maya/MDagPath.h>
#include <maya/MIntArray.h>
#include <maya/MObject.h>
#include <maya/MPoint.h>
#include <maya/MStatus.h>

#include <memory>

namespace ehost {
struct ApiAccess;
namespace api {
class MeshCursor;
}  // namespace api
}  // namespace ehost

//! Walks the edges of a mesh in id order, or those of an edge component in
//! the component's order. An edge's vertex 0 and 1 are in the order in which
//! the mesh's polygons first met them.
class OPENMAYA_EXPORT MItMeshEdge {
public:
    MItMeshEdge(const MObject& polyObject, MStatus* ReturnStatus = NULL);
    MItMeshEdge(const MDagPath& polyObject, MObject& component = MObject::kNullObj,
                MStatus* ReturnStatus = NULL);
    MItMeshEdge(const MItMeshEdge&) = delete;
    MItMeshEdge& operator=(const MItMeshEdge&) = delete;
    virtual ~MItMeshEdge();

    bool isDone(MStatus* ReturnStatus = NULL);
    MStatus next();
    MStatus reset();
    MStatus reset(const MObject& polyObject);
    MStatus reset(const MDagPath& polyObject, MObject& component = MObject::kNullObj);
    int count(MStatus* ReturnStatus = NULL);
    int index(MStatus* ReturnStatus = NULL);
    //! The id of the edge's vertex 0 or 1.
    int index(int whichVertex, MStatus* ReturnStatus = NULL);
    MStatus setIndex(int index, int& prevIndex);
    MObject currentItem(MStatus* ReturnStatus = NULL);
    MObject edge(MStatus* ReturnStatus = NULL) { return currentItem(ReturnStatus); }

    MPoint point(int whichVertex, MSpace::Space space = MSpace::kObject,
                 MStatus* ReturnStatus = NULL);
    MStatus setPoint(const MPoint& point, unsigned int whichVertex,
                     MSpace::Space space = MSpace::kObject);
    MPoint center(MSpace::Space space = MSpace::kObject, MStatus* ReturnStatus = NULL);
    MStatus getLength(double& length, MSpace::Space space = MSpace::kObject);

    //! Used by only one face.
    bool onBoundary(MStatus* ReturnStatus = NULL);
    //! The edges around vertex 0, then those around vertex 1 (each ascending),
    //! without this edge; returns how many.
    int getConnectedEdges(MIntArray& edgeList, MStatus* ReturnStatus = NULL);
    //! The faces using the edge, ascending; returns how many.
    int getConnectedFaces(MIntArray& faceList, MStatus* ReturnStatus = NULL);
    MStatus numConnectedEdges(int& edgeCount) const;
    MStatus numConnectedFaces(int& faceCount) const;
    bool connectedToEdge(int index, MStatus* ReturnStatus = NULL);
    bool connectedToFace(int index, MStatus* ReturnStatus = NULL);

    bool isSmooth(MStatus* ReturnStatus = NULL) const;
    MStatus setSmoothing(bool smooth = true);
    MStatus cleanupSmoothing();
    MStatus updateSurface();
    MStatus geomChanged();

private:
    friend struct ehost::ApiAccess;
    std::unique_ptr<ehost::api::MeshCursor> impl_;
};
