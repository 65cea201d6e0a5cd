#pragma once
#include <maya/MPoint.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>
#include <maya/detail/ValueArray.h>

#include <iosfwd>

//! An ordered list of double-precision points.
class OPENMAYA_EXPORT MPointArray : public ehost::ValueArray<MPoint> {
public:
    MPointArray() = default;
    MPointArray(const MPointArray&) = default;
    MPointArray(MPointArray&&) noexcept = default;
    ~MPointArray() = default;
    MPointArray& operator=(const MPointArray&) = default;
    MPointArray& operator=(MPointArray&&) noexcept = default;
    MPointArray(unsigned int initialSize, const MPoint& initialValue = MPoint::origin)
        : ValueArray(initialSize, initialValue) {}
    MPointArray(const MPoint src[], unsigned int count) : ValueArray(src, count) {}
    MPointArray(const double src[][4], unsigned int count);
    MPointArray(const float src[][4], unsigned int count);

    using ValueArray::append;
    using ValueArray::get;
    using ValueArray::set;
    MStatus set(unsigned int index, double x, double y, double z, double w = 1.0);
    MStatus set(const double element[4], unsigned int index);
    MStatus set(const float element[4], unsigned int index);
    MStatus append(double x, double y, double z = 0.0, double w = 1.0) {
        v_.emplace_back(x, y, z, w);
        return MStatus::kSuccess;
    }
    MStatus get(double dest[][4]) const;
    MStatus get(float dest[][4]) const;
    MStatus copy(const MPointArray& source) {
        v_ = source.v_;
        return MStatus::kSuccess;
    }
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MPointArray& array);
