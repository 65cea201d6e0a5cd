#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>
#include <maya/MVector.h>
#include <maya/detail/ValueArray.h>

#include <iosfwd>

//! An ordered list of double-precision vectors.
class OPENMAYA_EXPORT MVectorArray : public ehost::ValueArray<MVector> {
public:
    MVectorArray() = default;
    MVectorArray(const MVectorArray&) = default;
    MVectorArray(MVectorArray&&) noexcept = default;
    ~MVectorArray() = default;
    MVectorArray& operator=(const MVectorArray&) = default;
    MVectorArray& operator=(MVectorArray&&) noexcept = default;
    MVectorArray(unsigned int initialSize, const MVector& initialValue = MVector::zero)
        : ValueArray(initialSize, initialValue) {}
    MVectorArray(const MVector src[], unsigned int count) : ValueArray(src, count) {}
    MVectorArray(const double src[][3], unsigned int count);
    MVectorArray(const float src[][3], unsigned int count);

    using ValueArray::get;
    using ValueArray::set;
    MStatus set(const double element[3], unsigned int index);
    MStatus set(const float element[3], unsigned int index);
    MStatus get(double dest[][3]) const;
    MStatus get(float dest[][3]) const;
    MStatus copy(const MVectorArray& source) {
        v_ = source.v_;
        return MStatus::kSuccess;
    }
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MVectorArray& array);
