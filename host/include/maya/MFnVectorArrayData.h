#pragma once
#include <maya/MFnData.h>
#include <maya/MVectorArray.h>

//! Reads, writes and creates MVectorArray data objects.
class OPENMAYA_EXPORT MFnVectorArrayData : public MFnData {
public:
    MFnVectorArrayData() = default;
    MFnVectorArrayData(const MObject& object, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kVectorArrayData; }

    unsigned int length(MStatus* status = NULL) const;
    MStatus copyTo(MVectorArray& values) const;
    MStatus set(const MVectorArray& values);
    MVectorArray array(MStatus* status = NULL);
    //! Element access; index must be below length().
    MVector& operator[](unsigned int index);
    const MVector& operator[](unsigned int index) const;
    MObject create(MStatus* status = NULL);
    MObject create(const MVectorArray& values, MStatus* status = NULL);
};
