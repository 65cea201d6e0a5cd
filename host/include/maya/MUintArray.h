#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>
#include <maya/detail/ValueArray.h>

#include <iosfwd>

//! An ordered list of 32-bit unsigned integers.
class OPENMAYA_EXPORT MUintArray : public ehost::ValueArray<unsigned int> {
public:
    MUintArray() = default;
    MUintArray(const MUintArray&) = default;
    MUintArray(MUintArray&&) noexcept = default;
    ~MUintArray() = default;
    MUintArray& operator=(const MUintArray&) = default;
    MUintArray& operator=(MUintArray&&) noexcept = default;
    MUintArray(unsigned int initialSize, unsigned int initialValue = 0)
        : ValueArray(initialSize, initialValue) {}
    MUintArray(const unsigned int src[], unsigned int count) : ValueArray(src, count) {}
    MStatus copy(const MUintArray& source) {
        v_ = source.v_;
        return MStatus::kSuccess;
    }
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MUintArray& array);
