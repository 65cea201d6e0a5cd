#pragma once
#include <maya/MFnData.h>
#include <maya/MString.h>

//! Reads, writes and creates string data objects.
class OPENMAYA_EXPORT MFnStringData : public MFnData {
public:
    MFnStringData() = default;
    MFnStringData(const MObject& object, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kStringData; }
    MString string(MStatus* status = NULL) const;
    MStatus set(const MString& value);
    MObject create(const MString& value, MStatus* status = NULL);
    MObject create(MStatus* status = NULL);
};
