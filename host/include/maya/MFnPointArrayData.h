#pragma once
#include <maya/MFnData.h>
#include <maya/MPointArray.h>

//! Reads, writes and creates MPointArray data objects.
class OPENMAYA_EXPORT MFnPointArrayData : public MFnData {
public:
    MFnPointArrayData() = default;
    MFnPointArrayData(const MObject& object, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kPointArrayData; }

    unsigned int length(MStatus* status = NULL) const;
    MStatus copyTo(MPointArray& values) const;
    MStatus set(const MPointArray& values);
    MPointArray array(MStatus* status = NULL);
    //! Element access; index must be below length().
    MPoint& operator[](unsigned int index);
    const MPoint& operator[](unsigned int index) const;
    MObject create(MStatus* status = NULL);
    MObject create(const MPointArray& values, MStatus* status = NULL);
};
