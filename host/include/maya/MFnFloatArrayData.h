#pragma once
#include <maya/MFloatArray.h>
#include <maya/MFnData.h>

//! Reads, writes and creates MFloatArray data objects.
class OPENMAYA_EXPORT MFnFloatArrayData : public MFnData {
public:
    MFnFloatArrayData() = default;
    MFnFloatArrayData(const MObject& object, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kFloatArrayData; }

    unsigned int length(MStatus* status = NULL) const;
    MStatus copyTo(MFloatArray& values) const;
    MStatus set(const MFloatArray& values);
    MFloatArray array(MStatus* status = NULL);
    //! Element access; index must be below length().
    float& operator[](unsigned int index);
    const float& operator[](unsigned int index) const;
    MObject create(MStatus* status = NULL);
    MObject create(const MFloatArray& values, MStatus* status = NULL);
};
