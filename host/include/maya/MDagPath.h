#pragma once
#include <maya/MFn.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <memory>

class MDagPathArray;

namespace ehost {
class DagNode;
struct ApiAccess;
}  // namespace ehost

//! The path from the world down to a DAG node ("|pSphere1|pSphereShape1").
class OPENMAYA_EXPORT MDagPath {
public:
    MDagPath() = default;
    MDagPath(const MDagPath&) = default;
    MDagPath& operator=(const MDagPath&) = default;
    ~MDagPath() = default;

    static MStatus getAllPathsTo(const MObject& node, MDagPathArray& paths);
    static MStatus getAPathTo(const MObject& node, MDagPath& path);
    static MDagPath getAPathTo(const MObject& node, MStatus* status = NULL);

    bool hasFn(MFn::Type type, MStatus* status = NULL) const;
    MFn::Type apiType(MStatus* status = NULL) const;
    //! A path is valid while every node on it is in the scene.
    bool isValid(MStatus* status = NULL) const;
    MObject node(MStatus* status = NULL) const;
    //! The transform at or above the end of the path.
    MObject transform(MStatus* status = NULL) const;
    unsigned int length(MStatus* status = NULL) const;
    //! Moves the end of the path down to the single shape below a transform.
    MStatus extendToShape();
    MStatus extendToShapeDirectlyBelow(unsigned int index);
    MStatus numberOfShapesDirectlyBelow(unsigned int& count) const;
    unsigned int childCount(MStatus* status = NULL) const;
    MObject child(unsigned int index, MStatus* status = NULL) const;
    MStatus push(const MObject& child);
    MStatus pop(unsigned int count = 1);
    unsigned int pathCount(MStatus* status = NULL) const;
    MStatus getPath(MDagPath& path, unsigned int index = 0) const;
    MStatus set(const MDagPath& source);

    //! World matrix of the end node (with it), or of its parent (without it).
    MMatrix inclusiveMatrix(MStatus* status = NULL) const;
    MMatrix exclusiveMatrix(MStatus* status = NULL) const;
    MMatrix inclusiveMatrixInverse(MStatus* status = NULL) const;
    MMatrix exclusiveMatrixInverse(MStatus* status = NULL) const;

    MString fullPathName(MStatus* status = NULL) const;
    MString partialPathName(MStatus* status = NULL) const;
    bool isInstanced(MStatus* status = NULL) const;
    unsigned int instanceNumber(MStatus* status = NULL) const;
    bool isVisible(MStatus* status = NULL) const;

    bool operator==(const MDagPath& other) const;
    bool operator!=(const MDagPath& other) const { return !(*this == other); }

private:
    friend struct ehost::ApiAccess;
    struct Impl {
        std::shared_ptr<ehost::DagNode> node;
    };
    Impl impl_;
};
