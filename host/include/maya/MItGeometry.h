#pragma once
#include <maya/MDagPath.h>
#include <maya/MObject.h>
#include <maya/MPoint.h>
#include <maya/MPointArray.h>
#include <maya/MStatus.h>
#include <maya/MVector.h>

#include <memory>

namespace ehost {
struct ApiAccess;
namespace api {
class MeshCursor;
}  // namespace api
}  // namespace ehost

//! Walks the points of a geometry (the vertices of a mesh) in id order, or
//! those of a vertex component in the component's order. Positions written
//! through it are shown exactly: a mesh without history takes them into its
//! own geometry, one with history as tweaks.
class OPENMAYA_EXPORT MItGeometry {
public:
    MItGeometry(const MDagPath& dagPath, MStatus* ReturnStatus = NULL);
    MItGeometry(const MDagPath& dagPath, MObject& component, MStatus* ReturnStatus = NULL);
    //! A mesh shape node or a mesh data object (object space only).
    MItGeometry(const MObject& dagNode, MStatus* ReturnStatus = NULL);
    MItGeometry(const MItGeometry&) = delete;
    MItGeometry& operator=(const MItGeometry&) = delete;
    virtual ~MItGeometry();

    bool isDone(MStatus* ReturnStatus = NULL) const;
    MStatus next();
    MStatus reset();
    int index(MStatus* ReturnStatus = NULL) const;
    //! Number of points in the iteration.
    int count(MStatus* ReturnStatus = NULL) const;
    int exactCount(MStatus* ReturnStatus = NULL) const { return count(ReturnStatus); }
    MObject currentItem(MStatus* ReturnStatus = NULL) const;
    //! The component being iterated (null for the whole geometry).
    MObject component(MStatus* ReturnStatus = NULL) const;

    MPoint position(MSpace::Space space = MSpace::kObject, MStatus* ReturnStatus = NULL) const;
    MStatus setPosition(const MPoint& point, MSpace::Space space = MSpace::kObject);
    MVector normal(MSpace::Space space = MSpace::kObject, MStatus* ReturnStatus = NULL) const;

    //! Every point of the iteration, in iteration order.
    MStatus allPositions(MPointArray& positions, MSpace::Space space = MSpace::kObject) const;
    //! Moves every point of the iteration at once; positions holds count() points.
    MStatus setAllPositions(const MPointArray& positions, MSpace::Space space = MSpace::kObject);

private:
    friend struct ehost::ApiAccess;
    std::unique_ptr<ehost::api::MeshCursor> impl_;
};
