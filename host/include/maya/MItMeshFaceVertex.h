#pragma once
#include <maya/MDagPath.h>
#include <maya/MObject.h>
#include <maya/MPoint.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MVector.h>

#include <memory>

namespace ehost {
struct ApiAccess;
namespace api {
class MeshCursor;
}  // namespace api
}  // namespace ehost

//! Walks every corner of every polygon: polygon after polygon, each polygon's
//! corners in order. Takes no component.
class OPENMAYA_EXPORT MItMeshFaceVertex {
public:
    MItMeshFaceVertex(const MObject& polyObject, MStatus* ReturnStatus = NULL);
    MItMeshFaceVertex(const MDagPath& polyObject, MObject& component = MObject::kNullObj,
                      MStatus* ReturnStatus = NULL);
    MItMeshFaceVertex(const MItMeshFaceVertex&) = delete;
    MItMeshFaceVertex& operator=(const MItMeshFaceVertex&) = delete;
    virtual ~MItMeshFaceVertex();

    bool isDone(MStatus* ReturnStatus = NULL);
    MStatus next();
    MStatus reset();
    MStatus reset(const MObject& polyObject);
    MStatus reset(const MDagPath& polyObject, MObject& component = MObject::kNullObj);
    //! Moves to corner faceVertexId (face-relative) of polygon faceId.
    MStatus setIndex(int faceId, int faceVertexId, int& prevFaceId, int& prevFaceVertexId);
    //! The corner's vertex, as a vertex component.
    MObject currentItem(MStatus* ReturnStatus = NULL);

    int vertId(MStatus* ReturnStatus = NULL) const;
    int faceId(MStatus* ReturnStatus = NULL) const;
    //! The corner's position in its polygon.
    int faceVertId(MStatus* ReturnStatus = NULL) const;
    //! The corner's normal id (its face-vertex id).
    int normalId(MStatus* ReturnStatus = NULL) const;

    MPoint position(MSpace::Space space = MSpace::kObject, MStatus* ReturnStatus = NULL);
    MStatus getNormal(MVector& normal, MSpace::Space space = MSpace::kObject) const;
    bool hasUVs(MStatus* ReturnStatus = NULL) const;
    bool hasUVs(const MString& uvSet, MStatus* ReturnStatus = NULL) const;
    MStatus getUV(float2& uvPoint, const MString* uvSet = NULL) const;
    MStatus getUVIndex(int& index, const MString* uvSet = NULL) const;

    MStatus updateSurface();
    MStatus geomChanged();

private:
    friend struct ehost::ApiAccess;
    std::unique_ptr<ehost::api::MeshCursor> impl_;
};
