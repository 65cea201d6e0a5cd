#pragma once
#include <maya/MFnAttribute.h>

//! Creates attributes holding a distance, an angle or a time.
class OPENMAYA_EXPORT MFnUnitAttribute : public MFnAttribute {
public:
    enum Type { kInvalid, kAngle, kDistance, kTime, kLast };
    MFnUnitAttribute() = default;
    MFnUnitAttribute(const MObject& attribute, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kUnitAttribute; }
    MObject create(const MString& fullName, const MString& briefName, Type unitType,
                   double defaultValue = 0, MStatus* status = NULL);
    Type unitType(MStatus* status = NULL) const;
    MStatus setDefault(double value);
};
