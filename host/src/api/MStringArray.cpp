#include <maya/MStringArray.h>

#include <ostream>

MStatus MStringArray::set(const MString& value, unsigned int index) {
    if (index >= v_.size()) return MStatus(MStatus::kInvalidParameter, "index out of range");
    v_[index] = value;
    return MStatus::kSuccess;
}

MStatus MStringArray::remove(unsigned int index) {
    if (index >= v_.size()) return MStatus(MStatus::kInvalidParameter, "index out of range");
    v_.erase(v_.begin() + index);
    return MStatus::kSuccess;
}

MStatus MStringArray::insert(const MString& value, unsigned int index) {
    if (index > v_.size()) return MStatus(MStatus::kInvalidParameter, "index out of range");
    v_.insert(v_.begin() + index, value);
    return MStatus::kSuccess;
}

int MStringArray::indexOf(const MString& value) const {
    for (size_t i = 0; i < v_.size(); ++i)
        if (v_[i] == value) return static_cast<int>(i);
    return -1;
}

std::ostream& operator<<(std::ostream& os, const MStringArray& array) {
    os << "[";
    for (unsigned i = 0; i < array.length(); ++i) os << (i ? ", " : "") << array[i];
    return os << "]";
}
