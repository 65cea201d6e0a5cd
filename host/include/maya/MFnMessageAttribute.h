#pragma once
#include <maya/MFnAttribute.h>

//! Creates attributes that carry no value, only connections.
class OPENMAYA_EXPORT MFnMessageAttribute : public MFnAttribute {
public:
    MFnMessageAttribute() = default;
    MFnMessageAttribute(const MObject& attribute, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kMessageAttribute; }
    MObject create(const MString& fullName, const MString& briefName, MStatus* status = NULL);
};
