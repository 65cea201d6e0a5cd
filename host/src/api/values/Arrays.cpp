// The value arrays: index failures, element conversions and stream output.
#include <maya/MColorArray.h>
#include <maya/MDoubleArray.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MIntArray.h>
#include <maya/MObjectArray.h>
#include <maya/MPointArray.h>
#include <maya/MUintArray.h>
#include <maya/MVectorArray.h>

#include <ostream>
#include <string>

namespace ehost {

MStatus arrayIndexError(const char* method, unsigned int index, std::size_t length) {
    return MStatus(MStatus::kInvalidParameter,
                   std::string(method) + ": index " + std::to_string(index) +
                       " is out of range for an array of length " + std::to_string(length));
}

}  // namespace ehost

namespace {

template <class T>
std::ostream& writeArray(std::ostream& os, const ehost::ValueArray<T>& array) {
    os << "[";
    for (unsigned int i = 0; i < array.length(); ++i) os << (i ? ", " : "") << array[i];
    return os << "]";
}

// Objects print as the kind of thing they hold.
std::ostream& writeArray(std::ostream& os, const ehost::ValueArray<MObject>& array) {
    os << "[";
    for (unsigned int i = 0; i < array.length(); ++i)
        os << (i ? ", " : "") << (array[i].isNull() ? "null" : array[i].apiTypeStr());
    return os << "]";
}

// Fills elements from rows of N numbers through the element's own constructor.
template <class Element, class Row>
void fillRows(std::vector<Element>& v, const Row* rows, unsigned int count) {
    v.clear();
    v.reserve(count);
    for (unsigned int i = 0; i < count; ++i) v.emplace_back(rows[i]);
}

template <int N, class Element, class Number>
void copyRows(const std::vector<Element>& v, Number dest[][N]) {
    for (std::size_t i = 0; i < v.size(); ++i)
        for (int j = 0; j < N; ++j) dest[i][j] = static_cast<Number>(v[i][j]);
}

template <class Element, class Row>
MStatus setRow(std::vector<Element>& v, const Row& row, unsigned int index) {
    if (index >= v.size()) return ehost::arrayIndexError("set", index, v.size());
    v[index] = Element(row);
    return MStatus::kSuccess;
}

}  // namespace

MDoubleArray::MDoubleArray(const float src[], unsigned int count) {
    v_.assign(src, src + count);
}

MStatus MDoubleArray::get(float dest[]) const {
    for (std::size_t i = 0; i < v_.size(); ++i) dest[i] = static_cast<float>(v_[i]);
    return MStatus::kSuccess;
}

MFloatArray::MFloatArray(const double src[], unsigned int count) {
    v_.reserve(count);
    for (unsigned int i = 0; i < count; ++i) v_.push_back(static_cast<float>(src[i]));
}

MStatus MFloatArray::get(double dest[]) const {
    std::copy(v_.begin(), v_.end(), dest);
    return MStatus::kSuccess;
}

MPointArray::MPointArray(const double src[][4], unsigned int count) {
    fillRows(v_, src, count);
}
MPointArray::MPointArray(const float src[][4], unsigned int count) {
    fillRows(v_, src, count);
}

MStatus MPointArray::set(unsigned int index, double x, double y, double z, double w) {
    return setRow(v_, MPoint(x, y, z, w), index);
}
MStatus MPointArray::set(const double element[4], unsigned int index) {
    return setRow(v_, element, index);
}
MStatus MPointArray::set(const float element[4], unsigned int index) {
    return setRow(v_, element, index);
}
MStatus MPointArray::get(double dest[][4]) const {
    copyRows<4>(v_, dest);
    return MStatus::kSuccess;
}
MStatus MPointArray::get(float dest[][4]) const {
    copyRows<4>(v_, dest);
    return MStatus::kSuccess;
}

MFloatPointArray::MFloatPointArray(const float src[][4], unsigned int count) {
    fillRows(v_, src, count);
}
MFloatPointArray::MFloatPointArray(const double src[][4], unsigned int count) {
    fillRows(v_, src, count);
}

MStatus MFloatPointArray::set(unsigned int index, float x, float y, float z, float w) {
    return setRow(v_, MFloatPoint(x, y, z, w), index);
}
MStatus MFloatPointArray::set(const float element[4], unsigned int index) {
    return setRow(v_, element, index);
}
MStatus MFloatPointArray::set(const double element[4], unsigned int index) {
    return setRow(v_, element, index);
}
MStatus MFloatPointArray::get(float dest[][4]) const {
    copyRows<4>(v_, dest);
    return MStatus::kSuccess;
}
MStatus MFloatPointArray::get(double dest[][4]) const {
    copyRows<4>(v_, dest);
    return MStatus::kSuccess;
}

MVectorArray::MVectorArray(const double src[][3], unsigned int count) {
    fillRows(v_, src, count);
}
MVectorArray::MVectorArray(const float src[][3], unsigned int count) {
    fillRows(v_, src, count);
}

MStatus MVectorArray::set(const double element[3], unsigned int index) {
    return setRow(v_, element, index);
}
MStatus MVectorArray::set(const float element[3], unsigned int index) {
    return setRow(v_, element, index);
}
MStatus MVectorArray::get(double dest[][3]) const {
    copyRows<3>(v_, dest);
    return MStatus::kSuccess;
}
MStatus MVectorArray::get(float dest[][3]) const {
    copyRows<3>(v_, dest);
    return MStatus::kSuccess;
}

MFloatVectorArray::MFloatVectorArray(const float src[][3], unsigned int count) {
    fillRows(v_, src, count);
}
MFloatVectorArray::MFloatVectorArray(const double src[][3], unsigned int count) {
    fillRows(v_, src, count);
}

MStatus MFloatVectorArray::set(const float element[3], unsigned int index) {
    return setRow(v_, element, index);
}
MStatus MFloatVectorArray::set(const double element[3], unsigned int index) {
    return setRow(v_, element, index);
}
MStatus MFloatVectorArray::get(float dest[][3]) const {
    copyRows<3>(v_, dest);
    return MStatus::kSuccess;
}
MStatus MFloatVectorArray::get(double dest[][3]) const {
    copyRows<3>(v_, dest);
    return MStatus::kSuccess;
}

// Colours have no constructor from four numbers in a row, so rows go through (r, g, b, a).
MColorArray::MColorArray(const float src[][4], unsigned int count) {
    v_.reserve(count);
    for (unsigned int i = 0; i < count; ++i)
        v_.emplace_back(src[i][0], src[i][1], src[i][2], src[i][3]);
}
MColorArray::MColorArray(const double src[][4], unsigned int count) {
    v_.reserve(count);
    for (unsigned int i = 0; i < count; ++i)
        v_.emplace_back(static_cast<float>(src[i][0]), static_cast<float>(src[i][1]),
                        static_cast<float>(src[i][2]), static_cast<float>(src[i][3]));
}

MStatus MColorArray::set(unsigned int index, float r, float g, float b, float a) {
    return setRow(v_, MColor(r, g, b, a), index);
}
MStatus MColorArray::get(float dest[][4]) const {
    copyRows<4>(v_, dest);
    return MStatus::kSuccess;
}
MStatus MColorArray::get(double dest[][4]) const {
    copyRows<4>(v_, dest);
    return MStatus::kSuccess;
}

std::ostream& operator<<(std::ostream& os, const MIntArray& array) {
    return writeArray(os, array);
}
std::ostream& operator<<(std::ostream& os, const MUintArray& array) {
    return writeArray(os, array);
}
std::ostream& operator<<(std::ostream& os, const MFloatArray& array) {
    return writeArray(os, array);
}
std::ostream& operator<<(std::ostream& os, const MDoubleArray& array) {
    return writeArray(os, array);
}
std::ostream& operator<<(std::ostream& os, const MPointArray& array) {
    return writeArray(os, array);
}
std::ostream& operator<<(std::ostream& os, const MFloatPointArray& array) {
    return writeArray(os, array);
}
std::ostream& operator<<(std::ostream& os, const MVectorArray& array) {
    return writeArray(os, array);
}
std::ostream& operator<<(std::ostream& os, const MFloatVectorArray& array) {
    return writeArray(os, array);
}
std::ostream& operator<<(std::ostream& os, const MColorArray& array) {
    return writeArray(os, array);
}
std::ostream& operator<<(std::ostream& os, const MObjectArray& array) {
    return writeArray(os, array);
}
