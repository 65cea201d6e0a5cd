#pragma once
#include <maya/MFnBase.h>

//! Base of the component function sets.
class OPENMAYA_EXPORT MFnComponent : public MFnBase {
public:
    MFnComponent() = default;
    MFnComponent(const MObject& object, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kComponent; }
    int elementCount(MStatus* status = NULL);
    MFn::Type componentType(MStatus* status = NULL);
    bool isEmpty(MStatus* status = NULL) const;
    bool isEqual(const MObject& other, MStatus* status = NULL) const;
    bool isComplete(MStatus* status = NULL) const;
};
