#pragma once
#include <maya/MFnAttribute.h>
#include <maya/MTypeId.h>

//! Creates attributes holding a typed data object (arrays, strings, meshes).
class OPENMAYA_EXPORT MFnTypedAttribute : public MFnAttribute {
public:
    MFnTypedAttribute() = default;
    MFnTypedAttribute(const MObject& attribute, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kTypedAttribute; }

    MObject create(const MString& fullName, const MString& briefName, MFnData::Type type,
                   MStatus* status);
    MObject create(const MString& fullName, const MString& briefName, MFnData::Type type,
                   const MObject& defaultData = MObject::kNullObj, MStatus* status = NULL);
    MFnData::Type attrType(MStatus* status = NULL) const;
    MStatus getDefault(MObject& defaultData);
    MStatus setDefault(const MObject& defaultData);
};
