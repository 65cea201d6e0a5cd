#pragma once
#include <maya/MFloatVector.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>
#include <maya/detail/ValueArray.h>

#include <iosfwd>

//! An ordered list of single-precision vectors.
class OPENMAYA_EXPORT MFloatVectorArray : public ehost::ValueArray<MFloatVector> {
public:
    MFloatVectorArray() = default;
    MFloatVectorArray(const MFloatVectorArray&) = default;
    MFloatVectorArray(MFloatVectorArray&&) noexcept = default;
    ~MFloatVectorArray() = default;
    MFloatVectorArray& operator=(const MFloatVectorArray&) = default;
    MFloatVectorArray& operator=(MFloatVectorArray&&) noexcept = default;
    MFloatVectorArray(unsigned int initialSize,
                      const MFloatVector& initialValue = MFloatVector::zero)
        : ValueArray(initialSize, initialValue) {}
    MFloatVectorArray(const MFloatVector src[], unsigned int count) : ValueArray(src, count) {}
    MFloatVectorArray(const float src[][3], unsigned int count);
    MFloatVectorArray(const double src[][3], unsigned int count);

    using ValueArray::get;
    using ValueArray::set;
    MStatus set(const float element[3], unsigned int index);
    MStatus set(const double element[3], unsigned int index);
    MStatus get(float dest[][3]) const;
    MStatus get(double dest[][3]) const;
    MStatus copy(const MFloatVectorArray& source) {
        v_ = source.v_;
        return MStatus::kSuccess;
    }
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MFloatVectorArray& array);
