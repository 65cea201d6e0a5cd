#pragma once
#include <maya/MFnAttribute.h>

//! Creates attributes holding a 4x4 matrix.
class OPENMAYA_EXPORT MFnMatrixAttribute : public MFnAttribute {
public:
    enum Type { kFloat, kDouble };
    MFnMatrixAttribute() = default;
    MFnMatrixAttribute(const MObject& attribute, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kMatrixAttribute; }
    MObject create(const MString& fullName, const MString& briefName, Type type = kDouble,
                   MStatus* status = NULL);
};
