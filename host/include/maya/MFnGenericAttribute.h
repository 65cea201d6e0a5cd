#pragma once
#include <maya/MFnAttribute.h>
#include <maya/MFnNumericData.h>

//! Creates attributes that accept several kinds of data.
class OPENMAYA_EXPORT MFnGenericAttribute : public MFnAttribute {
public:
    MFnGenericAttribute() = default;
    MFnGenericAttribute(const MObject& attribute, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kGenericAttribute; }

    MObject create(const MString& fullName, const MString& briefName, MStatus* status = NULL);
    MStatus addAccept(MFnData::Type type);
    MStatus addAccept(MFnNumericData::Type type);
    MStatus removeAccept(MFnData::Type type);
    MStatus removeAccept(MFnNumericData::Type type);
};
