#pragma once
// Storage and common interface of the host's value arrays (MIntArray,
// MPointArray ...). Not an API class: plug-ins name only the arrays
// themselves. The elements live in one std::vector, so engine code can copy
// them in bulk through begin()/end().

#include <maya/MStatus.h>

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <new>
#include <vector>

namespace ehost {

//! The failure that every bounds-checked array method returns for a bad index.
MStatus arrayIndexError(const char* method, unsigned int index, std::size_t length);

template <class T>
class ValueArray {
public:
    ValueArray() = default;
    ValueArray(unsigned int count, const T& initial) : v_(count, initial) {}
    ValueArray(const T source[], unsigned int count) : v_(source, source + count) {}

    unsigned int length() const { return static_cast<unsigned int>(v_.size()); }
    //! New elements are value-initialised.
    MStatus setLength(unsigned int length) {
        try {
            v_.resize(length);
        } catch (const std::bad_alloc&) {
            return MStatus(MStatus::kInsufficientMemory, "no memory for the array's new length");
        }
        return MStatus::kSuccess;
    }

    // Unchecked, as the host's own arrays are; debug builds assert.
    const T& operator[](unsigned int index) const {
        assert(index < v_.size());
        return v_[index];
    }
    T& operator[](unsigned int index) {
        assert(index < v_.size());
        return v_[index];
    }

    MStatus set(const T& value, unsigned int index) {
        if (index >= v_.size()) return arrayIndexError("set", index, v_.size());
        v_[index] = value;
        return MStatus::kSuccess;
    }
    MStatus append(const T& value) {
        v_.push_back(value);
        return MStatus::kSuccess;
    }
    //! index may be the length, which appends.
    MStatus insert(const T& value, unsigned int index) {
        if (index > v_.size()) return arrayIndexError("insert", index, v_.size());
        v_.insert(v_.begin() + index, value);
        return MStatus::kSuccess;
    }
    MStatus remove(unsigned int index) {
        if (index >= v_.size()) return arrayIndexError("remove", index, v_.size());
        v_.erase(v_.begin() + index);
        return MStatus::kSuccess;
    }
    MStatus clear() {
        v_.clear();
        return MStatus::kSuccess;
    }
    //! Copies every element to dest, which must hold length() of them.
    MStatus get(T dest[]) const {
        std::copy(v_.begin(), v_.end(), dest);
        return MStatus::kSuccess;
    }

    // The vector grows geometrically whatever the increment; it is kept
    // only so that code reading it back sees what it set.
    void setSizeIncrement(unsigned int newIncrement) { sizeIncrement_ = newIncrement; }
    unsigned int sizeIncrement() const { return sizeIncrement_; }

    T* begin() { return v_.data(); }
    T* end() { return v_.data() + v_.size(); }
    const T* begin() const { return v_.data(); }
    const T* end() const { return v_.data() + v_.size(); }
    const T* cbegin() const { return begin(); }
    const T* cend() const { return end(); }

protected:
    std::vector<T> v_;
    unsigned int sizeIncrement_ = 8;
};

}  // namespace ehost
