#pragma once
#include <maya/MFnAttribute.h>

//! Creates compound attributes: attributes made of child attributes of any
//! kind (numbers, data, messages, other compounds), each keeping its own
//! value. Children are added before the compound is added to a node type or
//! a node. Only the top of an attribute can be an array in the embedded host:
//! an array child is refused.
class OPENMAYA_EXPORT MFnCompoundAttribute : public MFnAttribute {
public:
    MFnCompoundAttribute() = default;
    MFnCompoundAttribute(const MObject& attribute, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kCompoundAttribute; }

    MObject create(const MString& fullName, const MString& briefName, MStatus* status = NULL);
    MStatus addChild(const MObject& child);
    MStatus removeChild(const MObject& child);
    unsigned int numChildren(MStatus* status = NULL) const;
    MObject child(unsigned int index, MStatus* status = NULL) const;
};
