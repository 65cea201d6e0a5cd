#pragma once
#include <maya/MDGModifier.h>

//! MDGModifier with DAG edits: node creation under a parent and reparenting.
class OPENMAYA_EXPORT MDagModifier : public MDGModifier {
public:
    MDagModifier() = default;
    ~MDagModifier() override = default;

    //! A DAG node goes under parent (a shape without one gets a new
    //! transform, which is returned); a plain dependency node type is
    //! created as MDGModifier does.
    MObject createNode(const MTypeId& typeId, const MObject& parent = MObject::kNullObj,
                       MStatus* status = NULL);
    MObject createNode(const MString& type, const MObject& parent = MObject::kNullObj,
                       MStatus* status = NULL);
    MStatus reparentNode(const MObject& node, const MObject& newParent = MObject::kNullObj);
};
