#pragma once
#include <maya/MDagPath.h>
#include <maya/MStatus.h>

#include <vector>

//! An ordered list of DAG paths.
class OPENMAYA_EXPORT MDagPathArray {
public:
    MDagPathArray() = default;
    const MDagPath& operator[](unsigned int index) const { return v_[index]; }
    MDagPath& operator[](unsigned int index) { return v_[index]; }
    MStatus set(const MDagPath& path, unsigned int index) {
        if (index >= v_.size()) return MStatus(MStatus::kInvalidParameter, "index out of range");
        v_[index] = path;
        return MStatus::kSuccess;
    }
    MStatus setLength(unsigned int length) {
        v_.resize(length);
        return MStatus::kSuccess;
    }
    unsigned int length() const { return static_cast<unsigned int>(v_.size()); }
    MStatus remove(unsigned int index) {
        if (index >= v_.size()) return MStatus(MStatus::kInvalidParameter, "index out of range");
        v_.erase(v_.begin() + index);
        return MStatus::kSuccess;
    }
    MStatus insert(const MDagPath& path, unsigned int index) {
        if (index > v_.size()) return MStatus(MStatus::kInvalidParameter, "index out of range");
        v_.insert(v_.begin() + index, path);
        return MStatus::kSuccess;
    }
    MStatus append(const MDagPath& path) {
        v_.push_back(path);
        return MStatus::kSuccess;
    }
    MStatus clear() {
        v_.clear();
        return MStatus::kSuccess;
    }

private:
    std::vector<MDagPath> v_;
};
