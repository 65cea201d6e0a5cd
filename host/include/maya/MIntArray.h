#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>
#include <maya/detail/ValueArray.h>

#include <iosfwd>

//! An ordered list of 32-bit signed integers.
class OPENMAYA_EXPORT MIntArray : public ehost::ValueArray<int> {
public:
    MIntArray() = default;
    MIntArray(const MIntArray&) = default;
    MIntArray(MIntArray&&) noexcept = default;
    ~MIntArray() = default;
    MIntArray& operator=(const MIntArray&) = default;
    MIntArray& operator=(MIntArray&&) noexcept = default;
    MIntArray(unsigned int initialSize, int initialValue = 0)
        : ValueArray(initialSize, initialValue) {}
    MIntArray(const int src[], unsigned int count) : ValueArray(src, count) {}
    MStatus copy(const MIntArray& source) {
        v_ = source.v_;
        return MStatus::kSuccess;
    }
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MIntArray& array);
