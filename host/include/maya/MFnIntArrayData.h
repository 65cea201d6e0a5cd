#pragma once
#include <maya/MFnData.h>
#include <maya/MIntArray.h>

//! Reads, writes and creates MIntArray data objects.
class OPENMAYA_EXPORT MFnIntArrayData : public MFnData {
public:
    MFnIntArrayData() = default;
    MFnIntArrayData(const MObject& object, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kIntArrayData; }

    unsigned int length(MStatus* status = NULL) const;
    MStatus copyTo(MIntArray& values) const;
    MStatus set(const MIntArray& values);
    MIntArray array(MStatus* status = NULL);
    //! Element access; index must be below length().
    int& operator[](unsigned int index);
    const int& operator[](unsigned int index) const;
    MObject create(MStatus* status = NULL);
    MObject create(const MIntArray& values, MStatus* status = NULL);
};
