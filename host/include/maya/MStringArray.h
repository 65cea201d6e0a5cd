#pragma once
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <iosfwd>
#include <vector>

//! An ordered list of strings.
class OPENMAYA_EXPORT MStringArray {
public:
    MStringArray() = default;
    MStringArray(unsigned int length, const MString& initial) : v_(length, initial) {}
    MStringArray(const MString strings[], unsigned int count) : v_(strings, strings + count) {}
    MStringArray(const MStringArray&) = default;
    MStringArray& operator=(const MStringArray&) = default;

    const MString& operator[](unsigned int index) const { return v_[index]; }
    MString& operator[](unsigned int index) { return v_[index]; }
    MStatus set(const MString& value, unsigned int index);
    MStatus setLength(unsigned int length) {
        v_.resize(length);
        return MStatus::kSuccess;
    }
    unsigned int length() const { return static_cast<unsigned int>(v_.size()); }
    MStatus remove(unsigned int index);
    MStatus insert(const MString& value, unsigned int index);
    MStatus append(const MString& value) {
        v_.push_back(value);
        return MStatus::kSuccess;
    }
    MStatus clear() {
        v_.clear();
        return MStatus::kSuccess;
    }
    int indexOf(const MString& value) const;
    void setSizeIncrement(unsigned int) {}
    unsigned int sizeIncrement() const { return 1; }

    friend std::ostream& operator<<(std::ostream& os, const MStringArray& array);

private:
    std::vector<MString> v_;
};
