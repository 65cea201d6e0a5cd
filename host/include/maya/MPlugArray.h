#pragma once
#include <maya/MPlug.h>
#include <maya/MStatus.h>

#include <vector>

//! An ordered list of plugs.
class OPENMAYA_EXPORT MPlugArray {
public:
    MPlugArray() = default;
    MPlugArray(unsigned int length, const MPlug& initial) : v_(length, initial) {}
    MPlugArray(const MPlugArray&) = default;
    MPlugArray& operator=(const MPlugArray&) = default;

    const MPlug& operator[](unsigned int index) const { return v_[index]; }
    MPlug& operator[](unsigned int index) { return v_[index]; }
    MStatus set(const MPlug& plug, unsigned int index);
    MStatus setLength(unsigned int length) {
        v_.resize(length);
        return MStatus::kSuccess;
    }
    unsigned int length() const { return static_cast<unsigned int>(v_.size()); }
    MStatus remove(unsigned int index);
    MStatus insert(const MPlug& plug, unsigned int index);
    MStatus append(const MPlug& plug) {
        v_.push_back(plug);
        return MStatus::kSuccess;
    }
    MStatus copy(const MPlugArray& source) {
        v_ = source.v_;
        return MStatus::kSuccess;
    }
    MStatus clear() {
        v_.clear();
        return MStatus::kSuccess;
    }
    void setSizeIncrement(unsigned int) {}
    unsigned int sizeIncrement() const { return 1; }

private:
    std::vector<MPlug> v_;
};
