#pragma once
#include <maya/MFnAttribute.h>

//! Creates attributes holding one of a list of named values.
class OPENMAYA_EXPORT MFnEnumAttribute : public MFnAttribute {
public:
    MFnEnumAttribute() = default;
    MFnEnumAttribute(const MObject& attribute, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kEnumAttribute; }
    MObject create(const MString& fullName, const MString& briefName, short defaultValue = 0,
                   MStatus* status = NULL);
    MStatus addField(const MString& name, short value);
    MString fieldName(short value, MStatus* status = NULL) const;
    short fieldIndex(const MString& name, MStatus* status = NULL) const;
    MStatus setDefault(short value);
};
