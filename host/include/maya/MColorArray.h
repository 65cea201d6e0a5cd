#pragma once
#include <maya/MColor.h>
#include <maya/MStatus.h>
#include <maya/MTypes.h>
#include <maya/detail/ValueArray.h>

#include <iosfwd>

//! An ordered list of RGBA colours.
class OPENMAYA_EXPORT MColorArray : public ehost::ValueArray<MColor> {
public:
    MColorArray() = default;
    MColorArray(const MColorArray&) = default;
    MColorArray(MColorArray&&) noexcept = default;
    ~MColorArray() = default;
    MColorArray& operator=(const MColorArray&) = default;
    MColorArray& operator=(MColorArray&&) noexcept = default;
    MColorArray(unsigned int initialSize, const MColor& initialValue = MColor())
        : ValueArray(initialSize, initialValue) {}
    MColorArray(const MColor src[], unsigned int count) : ValueArray(src, count) {}
    MColorArray(const float src[][4], unsigned int count);
    MColorArray(const double src[][4], unsigned int count);

    using ValueArray::append;
    using ValueArray::get;
    using ValueArray::set;
    MStatus set(unsigned int index, float r, float g, float b, float a = 1.0F);
    MStatus append(float r, float g, float b, float a = 1.0F) {
        v_.emplace_back(r, g, b, a);
        return MStatus::kSuccess;
    }
    MStatus get(float dest[][4]) const;
    MStatus get(double dest[][4]) const;
    MStatus copy(const MColorArray& source) {
        v_ = source.v_;
        return MStatus::kSuccess;
    }
};

OPENMAYA_EXPORT std::ostream& operator<<(std::ostream& os, const MColorArray& array);
