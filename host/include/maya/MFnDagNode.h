#pragma once
#include <maya/MBoundingBox.h>
#include <maya/MDagPath.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MMatrix.h>

class MDagPathArray;

//! Reads and edits a DAG node: parents, children, paths, duplication.
class OPENMAYA_EXPORT MFnDagNode : public MFnDependencyNode {
public:
    static const unsigned int kNextPos = 0xff;

    MFnDagNode() = default;
    MFnDagNode(const MObject& object, MStatus* status = NULL);
    MFnDagNode(const MDagPath& path, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kDagNode; }

    MStatus setObject(const MDagPath& path);
    MStatus setObject(const MObject& object) override;
    MStatus setObject(MObject& object) override {
        return setObject(static_cast<const MObject&>(object));
    }

    //! Creates a DAG node (not undoable). A shape created with no parent gets
    //! a new transform above it, which is then what is returned.
    MObject create(const MTypeId& typeId, const MObject& parent = MObject::kNullObj,
                   MStatus* status = NULL);
    MObject create(const MTypeId& typeId, const MString& name,
                   const MObject& parent = MObject::kNullObj, MStatus* status = NULL);
    MObject create(const MString& type, const MObject& parent = MObject::kNullObj,
                   MStatus* status = NULL);
    MObject create(const MString& type, const MString& name,
                   const MObject& parent = MObject::kNullObj, MStatus* status = NULL);

    unsigned int parentCount(MStatus* status = NULL) const;
    MObject parent(unsigned int index, MStatus* status = NULL) const;
    MStatus addChild(MObject& child, unsigned int index = kNextPos,
                     bool keepExistingParents = false);
    MStatus removeChild(MObject& child);
    MStatus removeChildAt(unsigned int index);
    unsigned int childCount(MStatus* status = NULL) const;
    MObject child(unsigned int index, MStatus* status = NULL) const;
    MObject dagRoot(MStatus* status = NULL);
    bool hasParent(const MObject& node, MStatus* status = NULL) const;
    bool hasChild(const MObject& node, MStatus* status = NULL) const;
    bool isChildOf(const MObject& node, MStatus* status = NULL) const;
    bool isParentOf(const MObject& node, MStatus* status = NULL) const;

    //! Copies the node (a shape comes back under a new transform, which is
    //! returned; a transform comes back with copies of its children).
    MObject duplicate(bool instance = false, bool instanceLeaf = false,
                      MStatus* status = NULL) const;

    MStatus getPath(MDagPath& path) const;
    MStatus getAllPaths(MDagPathArray& paths) const;
    MDagPath dagPath(MStatus* status = NULL) const;
    MString fullPathName(MStatus* status = NULL) const;
    MString partialPathName(MStatus* status = NULL) const;
    MMatrix transformationMatrix(MStatus* status = NULL) const;
    bool isIntermediateObject(MStatus* status = NULL) const;
    MStatus setIntermediateObject(bool isIntermediate);
    bool inUnderWorld(MStatus* status = NULL) const;
    bool inModel(MStatus* status = NULL) const;
    MBoundingBox boundingBox(MStatus* status = NULL) const;
};
