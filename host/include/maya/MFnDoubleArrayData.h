#pragma once
#include <maya/MDoubleArray.h>
#include <maya/MFnData.h>

//! Reads, writes and creates MDoubleArray data objects.
class OPENMAYA_EXPORT MFnDoubleArrayData : public MFnData {
public:
    MFnDoubleArrayData() = default;
    MFnDoubleArrayData(const MObject& object, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kDoubleArrayData; }

    unsigned int length(MStatus* status = NULL) const;
    MStatus copyTo(MDoubleArray& values) const;
    MStatus set(const MDoubleArray& values);
    MDoubleArray array(MStatus* status = NULL);
    //! Element access; index must be below length().
    double& operator[](unsigned int index);
    const double& operator[](unsigned int index) const;
    MObject create(MStatus* status = NULL);
    MObject create(const MDoubleArray& values, MStatus* status = NULL);
};
