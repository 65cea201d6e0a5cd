#pragma once
#include <maya/MFnData.h>
#include <maya/MMatrix.h>

//! Reads, writes and creates matrix data objects.
class OPENMAYA_EXPORT MFnMatrixData : public MFnData {
public:
    MFnMatrixData() = default;
    MFnMatrixData(const MObject& object, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kMatrixData; }
    const MMatrix& matrix(MStatus* status = NULL) const;
    MStatus set(const MMatrix& value);
    MObject create(const MMatrix& value, MStatus* status = NULL);
    MObject create(MStatus* status = NULL);
};
