#pragma once
#include <maya/MFnData.h>
#include <maya/MStringArray.h>

//! Reads, writes and creates MStringArray data objects.
class OPENMAYA_EXPORT MFnStringArrayData : public MFnData {
public:
    MFnStringArrayData() = default;
    MFnStringArrayData(const MObject& object, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kStringArrayData; }

    unsigned int length(MStatus* status = NULL) const;
    MStatus copyTo(MStringArray& values) const;
    MStatus set(const MStringArray& values);
    MStringArray array(MStatus* status = NULL);
    //! Element access; index must be below length().
    MString& operator[](unsigned int index);
    const MString& operator[](unsigned int index) const;
    MObject create(MStatus* status = NULL);
    MObject create(const MStringArray& values, MStatus* status = NULL);
};
