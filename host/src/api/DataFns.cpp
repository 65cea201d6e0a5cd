#include <maya/MFnDoubleArrayData.h>
#include <maya/MFnFloatArrayData.h>
#include <maya/MFnIntArrayData.h>
#include <maya/MFnMatrixData.h>
#include <maya/MFnNumericData.h>
#include <maya/MFnPointArrayData.h>
#include <maya/MFnStringArrayData.h>
#include <maya/MFnStringData.h>
#include <maya/MFnVectorArrayData.h>

#include <cassert>

#include "host/src/core/Guard.h"
#include "host/src/dg/Api.h"
#include "host/src/dg/Data.h"

using ehost::api::fail;
using ehost::api::setStatus;

namespace {

MStatus noObject() {
    return fail(MStatus::kInvalidParameter, "function set has no data object");
}

//! The array behind an array-data function set.
template <class D>
D* arrayData(const MObject& o) {
    return ehost::ApiAccess::as<D>(o).get();
}

}  // namespace

#define ARRAY_DATA_FN(FN, ARR, ELEM, DATA)                                  \
    FN::FN(const MObject& object, MStatus* status) {                        \
        setStatus(status, attach(object));                                  \
    }                                                                       \
    unsigned int FN::length(MStatus* status) const {                        \
        auto* d = arrayData<ehost::DATA>(obj_);                             \
        setStatus(status, d ? MStatus(MStatus::kSuccess) : noObject());     \
        return d ? d->values.length() : 0;                                  \
    }                                                                       \
    MStatus FN::copyTo(ARR& values) const {                                 \
        auto* d = arrayData<ehost::DATA>(obj_);                             \
        if (!d) return noObject();                                          \
        return ehost::guardEntry(#FN "::copyTo", [&] {                      \
            values = d->values;                                             \
            return MStatus(MStatus::kSuccess);                              \
        });                                                                 \
    }                                                                       \
    MStatus FN::set(const ARR& values) {                                    \
        auto* d = arrayData<ehost::DATA>(obj_);                             \
        if (!d) return noObject();                                          \
        return ehost::guardEntry(#FN "::set", [&] {                         \
            d->values = values;                                             \
            return MStatus(MStatus::kSuccess);                              \
        });                                                                 \
    }                                                                       \
    ARR FN::array(MStatus* status) {                                        \
        auto* d = arrayData<ehost::DATA>(obj_);                             \
        setStatus(status, d ? MStatus(MStatus::kSuccess) : noObject());     \
        return d ? d->values : ARR();                                       \
    }                                                                       \
    ELEM& FN::operator[](unsigned int index) {                              \
        auto* d = arrayData<ehost::DATA>(obj_);                             \
        assert(d&& index < d->values.length());                             \
        return d->values[index];                                            \
    }                                                                       \
    const ELEM& FN::operator[](unsigned int index) const {                  \
        auto* d = arrayData<ehost::DATA>(obj_);                             \
        assert(d&& index < d->values.length());                             \
        return d->values[index];                                            \
    }                                                                       \
    MObject FN::create(MStatus* status) {                                   \
        return create(ARR(), status);                                       \
    }                                                                       \
    MObject FN::create(const ARR& values, MStatus* status) {                \
        return ehost::guardEntry(status, #FN "::create", MObject(), [&] {   \
            obj_ = ehost::api::wrap(std::make_shared<ehost::DATA>(values)); \
            setStatus(status, MStatus::kSuccess);                           \
            return obj_;                                                    \
        });                                                                 \
    }

ARRAY_DATA_FN(MFnPointArrayData, MPointArray, MPoint, PointArrayData)
ARRAY_DATA_FN(MFnIntArrayData, MIntArray, int, IntArrayData)
ARRAY_DATA_FN(MFnFloatArrayData, MFloatArray, float, FloatArrayData)
ARRAY_DATA_FN(MFnDoubleArrayData, MDoubleArray, double, DoubleArrayData)
ARRAY_DATA_FN(MFnVectorArrayData, MVectorArray, MVector, VectorArrayData)
ARRAY_DATA_FN(MFnStringArrayData, MStringArray, MString, StringArrayData)
#undef ARRAY_DATA_FN

// ---------------------------------------------------------------- string, matrix

MFnStringData::MFnStringData(const MObject& object, MStatus* status) {
    setStatus(status, attach(object));
}

MString MFnStringData::string(MStatus* status) const {
    auto* d = arrayData<ehost::StringData>(obj_);
    setStatus(status, d ? MStatus(MStatus::kSuccess) : noObject());
    return d ? d->value : MString();
}

MStatus MFnStringData::set(const MString& value) {
    auto* d = arrayData<ehost::StringData>(obj_);
    if (!d) return noObject();
    d->value = value;
    return MStatus::kSuccess;
}

MObject MFnStringData::create(const MString& value, MStatus* status) {
    return ehost::guardEntry(status, "MFnStringData::create", MObject(), [&] {
        obj_ = ehost::api::wrap(std::make_shared<ehost::StringData>(value));
        setStatus(status, MStatus::kSuccess);
        return obj_;
    });
}

MObject MFnStringData::create(MStatus* status) {
    return create(MString(), status);
}

MFnMatrixData::MFnMatrixData(const MObject& object, MStatus* status) {
    setStatus(status, attach(object));
}

const MMatrix& MFnMatrixData::matrix(MStatus* status) const {
    static const MMatrix identity;
    auto* d = arrayData<ehost::MatrixData>(obj_);
    setStatus(status, d ? MStatus(MStatus::kSuccess) : noObject());
    return d ? d->value : identity;
}

MStatus MFnMatrixData::set(const MMatrix& value) {
    auto* d = arrayData<ehost::MatrixData>(obj_);
    if (!d) return noObject();
    d->value = value;
    return MStatus::kSuccess;
}

MObject MFnMatrixData::create(const MMatrix& value, MStatus* status) {
    obj_ = ehost::api::wrap(std::make_shared<ehost::MatrixData>(value));
    setStatus(status, MStatus::kSuccess);
    return obj_;
}

MObject MFnMatrixData::create(MStatus* status) {
    return create(MMatrix(), status);
}

// ---------------------------------------------------------------- numeric data

MFnNumericData::MFnNumericData(const MObject& object, MStatus* status) {
    setStatus(status, attach(object));
}

MObject MFnNumericData::create(Type dataType, MStatus* status) {
    obj_ = ehost::api::wrap(std::make_shared<ehost::NumericData>(dataType));
    setStatus(status, MStatus::kSuccess);
    return obj_;
}

MFnNumericData::Type MFnNumericData::numericType(MStatus* status) {
    auto* d = arrayData<ehost::NumericData>(obj_);
    setStatus(status, d ? MStatus(MStatus::kSuccess) : noObject());
    return d ? d->numericType : kInvalid;
}

namespace {

template <class T>
MStatus getN(const MObject& o, int n, T* out[]) {
    auto* d = arrayData<ehost::NumericData>(o);
    if (!d) return noObject();
    if (ehost::numericComponents(d->numericType) != n)
        return fail(MStatus::kInvalidParameter,
                    "numeric data has " + std::to_string(ehost::numericComponents(d->numericType)) +
                        " components, not " + std::to_string(n));
    for (int k = 0; k < n; ++k) *out[k] = static_cast<T>(d->v[k]);
    return MStatus::kSuccess;
}

template <class T>
MStatus setN(const MObject& o, int n, const T* in) {
    auto* d = arrayData<ehost::NumericData>(o);
    if (!d) return noObject();
    if (ehost::numericComponents(d->numericType) != n)
        return fail(MStatus::kInvalidParameter,
                    "numeric data has " + std::to_string(ehost::numericComponents(d->numericType)) +
                        " components, not " + std::to_string(n));
    for (int k = 0; k < n; ++k)
        d->v[k] = ehost::storeAsNumeric(d->numericType, static_cast<double>(in[k]));
    return MStatus::kSuccess;
}

}  // namespace

MStatus MFnNumericData::getData(int& a, int& b) {
    int* o[] = {&a, &b};
    return getN(obj_, 2, o);
}
MStatus MFnNumericData::getData(int& a, int& b, int& c) {
    int* o[] = {&a, &b, &c};
    return getN(obj_, 3, o);
}
MStatus MFnNumericData::getData(float& a, float& b) {
    float* o[] = {&a, &b};
    return getN(obj_, 2, o);
}
MStatus MFnNumericData::getData(float& a, float& b, float& c) {
    float* o[] = {&a, &b, &c};
    return getN(obj_, 3, o);
}
MStatus MFnNumericData::getData(double& a, double& b) {
    double* o[] = {&a, &b};
    return getN(obj_, 2, o);
}
MStatus MFnNumericData::getData(double& a, double& b, double& c) {
    double* o[] = {&a, &b, &c};
    return getN(obj_, 3, o);
}
MStatus MFnNumericData::setData(int a, int b) {
    int v[] = {a, b};
    return setN(obj_, 2, v);
}
MStatus MFnNumericData::setData(int a, int b, int c) {
    int v[] = {a, b, c};
    return setN(obj_, 3, v);
}
MStatus MFnNumericData::setData(float a, float b) {
    float v[] = {a, b};
    return setN(obj_, 2, v);
}
MStatus MFnNumericData::setData(float a, float b, float c) {
    float v[] = {a, b, c};
    return setN(obj_, 3, v);
}
MStatus MFnNumericData::setData(double a, double b) {
    double v[] = {a, b};
    return setN(obj_, 2, v);
}
MStatus MFnNumericData::setData(double a, double b, double c) {
    double v[] = {a, b, c};
    return setN(obj_, 3, v);
}
