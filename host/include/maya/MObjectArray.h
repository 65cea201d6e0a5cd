#pragma once
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>
#include <maya/detail/ValueArray.h>

#include <iosfwd>

//! An ordered list of object handles.
class OPENMAYA_EXPORT MObjectArray : public ehost::ValueArray<MObject> {
public:
    MObjectArray() = default;
    MObjectArray(const MObjectArray&) = default;
    MObjectArray(MObjectArray&&) noexcept = default;
    ~MObjectArray() = default;
    MObjectArray& operator=(const MObjectArray&) = default;
    MObjectArray& operator=(MObjectArray&&) noexcept = default;
    MObjectArray(unsigned int initialSize, const MObject& initialValue = MObject::kNullObj)
        : ValueArray(initialSize, initialValue) {}
    MObjectArray(const MObject src[], unsigned int count) : ValueArray(src, count) {}
    MStatus copy(const MObjectArray& source) {
        v_ = source.v_;
        return MStatus::kSuccess;
    }
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MObjectArray& array);
