#pragma once
#include <maya/MFloatPoint.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>
#include <maya/detail/ValueArray.h>

#include <iosfwd>

//! An ordered list of single-precision points.
class OPENMAYA_EXPORT MFloatPointArray : public ehost::ValueArray<MFloatPoint> {
public:
    MFloatPointArray() = default;
    MFloatPointArray(const MFloatPointArray&) = default;
    MFloatPointArray(MFloatPointArray&&) noexcept = default;
    ~MFloatPointArray() = default;
    MFloatPointArray& operator=(const MFloatPointArray&) = default;
    MFloatPointArray& operator=(MFloatPointArray&&) noexcept = default;
    MFloatPointArray(unsigned int initialSize,
                     const MFloatPoint& initialValue = MFloatPoint::origin)
        : ValueArray(initialSize, initialValue) {}
    MFloatPointArray(const MFloatPoint src[], unsigned int count) : ValueArray(src, count) {}
    MFloatPointArray(const float src[][4], unsigned int count);
    MFloatPointArray(const double src[][4], unsigned int count);

    using ValueArray::append;
    using ValueArray::get;
    using ValueArray::set;
    MStatus set(unsigned int index, float x, float y, float z, float w = 1.0F);
    MStatus set(const float element[4], unsigned int index);
    MStatus set(const double element[4], unsigned int index);
    MStatus append(float x, float y, float z = 0.0F, float w = 1.0F) {
        v_.emplace_back(x, y, z, w);
        return MStatus::kSuccess;
    }
    MStatus get(float dest[][4]) const;
    MStatus get(double dest[][4]) const;
    MStatus copy(const MFloatPointArray& source) {
        v_ = source.v_;
        return MStatus::kSuccess;
    }
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MFloatPointArray& array);
