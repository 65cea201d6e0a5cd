#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>

#include <vector>

//! An ordered list of callback ids.
class OPENMAYA_EXPORT MCallbackIdArray {
public:
    MCallbackIdArray() = default;
    MCallbackId operator[](unsigned int index) const { return v_[index]; }
    MCallbackId& operator[](unsigned int index) { return v_[index]; }
    unsigned int length() const { return static_cast<unsigned int>(v_.size()); }
    MStatus append(MCallbackId id) {
        v_.push_back(id);
        return MStatus::kSuccess;
    }
    MStatus remove(unsigned int index) {
        if (index >= v_.size()) return MStatus(MStatus::kInvalidParameter, "index out of range");
        v_.erase(v_.begin() + index);
        return MStatus::kSuccess;
    }
    MStatus clear() {
        v_.clear();
        return MStatus::kSuccess;
    }
    MStatus setLength(unsigned int length) {
        v_.resize(length);
        return MStatus::kSuccess;
    }

private:
    std::vector<MCallbackId> v_;
};
