#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>
#include <maya/detail/ValueArray.h>

#include <iosfwd>

//! An ordered list of doubles.
class OPENMAYA_EXPORT MDoubleArray : public ehost::ValueArray<double> {
public:
    MDoubleArray() = default;
    MDoubleArray(const MDoubleArray&) = default;
    MDoubleArray(MDoubleArray&&) noexcept = default;
    ~MDoubleArray() = default;
    MDoubleArray& operator=(const MDoubleArray&) = default;
    MDoubleArray& operator=(MDoubleArray&&) noexcept = default;
    MDoubleArray(unsigned int initialSize, double initialValue = 0)
        : ValueArray(initialSize, initialValue) {}
    MDoubleArray(const double src[], unsigned int count) : ValueArray(src, count) {}
    MDoubleArray(const float src[], unsigned int count);

    using ValueArray::get;
    MStatus get(float dest[]) const;
    MStatus copy(const MDoubleArray& source) {
        v_ = source.v_;
        return MStatus::kSuccess;
    }
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MDoubleArray& array);
