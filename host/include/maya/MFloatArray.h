#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>
#include <maya/detail/ValueArray.h>

#include <iosfwd>

//! An ordered list of floats.
class OPENMAYA_EXPORT MFloatArray : public ehost::ValueArray<float> {
public:
    MFloatArray() = default;
    MFloatArray(const MFloatArray&) = default;
    MFloatArray(MFloatArray&&) noexcept = default;
    ~MFloatArray() = default;
    MFloatArray& operator=(const MFloatArray&) = default;
    MFloatArray& operator=(MFloatArray&&) noexcept = default;
    MFloatArray(unsigned int initialSize, float initialValue = 0)
        : ValueArray(initialSize, initialValue) {}
    MFloatArray(const float src[], unsigned int count) : ValueArray(src, count) {}
    MFloatArray(const double src[], unsigned int count);

    using ValueArray::get;
    MStatus get(double dest[]) const;
    MStatus copy(const MFloatArray& source) {
        v_ = source.v_;
        return MStatus::kSuccess;
    }
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MFloatArray& array);
