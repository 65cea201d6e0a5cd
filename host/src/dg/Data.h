#pragma once
// Typed data values held by attributes: arrays, strings, matrices, numeric
// tuples, meshes. A value stored in a plug is never changed in place: readers
// get a copy, writers store a new object.

#include <maya/MDoubleArray.h>
#include <maya/MFloatArray.h>
#include <maya/MFnData.h>
#include <maya/MFnNumericData.h>
#include <maya/MIntArray.h>
#include <maya/MMatrix.h>
#include <maya/MPointArray.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MVectorArray.h>

#include <memory>
#include <string>

#include "host/src/core/Object.h"

namespace ehost {

class Data : public Object {
public:
    virtual MFnData::Type dataType() const = 0;
    virtual std::shared_ptr<Data> clone() const = 0;
    //! Exact equality of contents (used by tests, undo checks and scene files).
    virtual bool sameAs(const Data& other) const = 0;
};

using DataPtr = std::shared_ptr<Data>;

template <class Array, MFn::Type Kind, MFnData::Type DataKind>
class ArrayData final : public Data {
public:
    ArrayData() = default;
    explicit ArrayData(Array v) : values(std::move(v)) {}
    MFn::Type apiType() const override { return Kind; }
    MFnData::Type dataType() const override { return DataKind; }
    DataPtr clone() const override { return std::make_shared<ArrayData>(values); }
    bool sameAs(const Data& other) const override {
        auto* o = dynamic_cast<const ArrayData*>(&other);
        if (!o || o->values.length() != values.length()) return false;
        for (unsigned i = 0; i < values.length(); ++i)
            if (!(values[i] == o->values[i])) return false;
        return true;
    }
    Array values;
};

using PointArrayData = ArrayData<MPointArray, MFn::kPointArrayData, MFnData::kPointArray>;
using IntArrayData = ArrayData<MIntArray, MFn::kIntArrayData, MFnData::kIntArray>;
using FloatArrayData = ArrayData<MFloatArray, MFn::kFloatArrayData, MFnData::kFloatArray>;
using DoubleArrayData = ArrayData<MDoubleArray, MFn::kDoubleArrayData, MFnData::kDoubleArray>;
using VectorArrayData = ArrayData<MVectorArray, MFn::kVectorArrayData, MFnData::kVectorArray>;
using StringArrayData = ArrayData<MStringArray, MFn::kStringArrayData, MFnData::kStringArray>;

class StringData final : public Data {
public:
    StringData() = default;
    explicit StringData(MString s) : value(std::move(s)) {}
    MFn::Type apiType() const override { return MFn::kStringData; }
    MFnData::Type dataType() const override { return MFnData::kString; }
    DataPtr clone() const override { return std::make_shared<StringData>(value); }
    bool sameAs(const Data& other) const override {
        auto* o = dynamic_cast<const StringData*>(&other);
        return o && o->value == value;
    }
    MString value;
};

class MatrixData final : public Data {
public:
    MatrixData() = default;
    explicit MatrixData(const MMatrix& m) : value(m) {}
    MFn::Type apiType() const override { return MFn::kMatrixData; }
    MFnData::Type dataType() const override { return MFnData::kMatrix; }
    DataPtr clone() const override { return std::make_shared<MatrixData>(value); }
    bool sameAs(const Data& other) const override {
        auto* o = dynamic_cast<const MatrixData*>(&other);
        return o && o->value == value;
    }
    MMatrix value;
};

//! A numeric tuple as a data object (what MFnNumericData creates).
class NumericData final : public Data {
public:
    NumericData() = default;
    explicit NumericData(MFnNumericData::Type t) : numericType(t) {}
    MFn::Type apiType() const override { return MFn::kNumericData; }
    MFnData::Type dataType() const override { return MFnData::kNumeric; }
    DataPtr clone() const override { return std::make_shared<NumericData>(*this); }
    bool sameAs(const Data& other) const override {
        auto* o = dynamic_cast<const NumericData*>(&other);
        return o && o->numericType == numericType && o->v[0] == v[0] && o->v[1] == v[1] &&
               o->v[2] == v[2] && o->v[3] == v[3];
    }
    MFnNumericData::Type numericType = MFnNumericData::kInvalid;
    double v[4] = {0, 0, 0, 0};
};

//! Number of components of a numeric type (1 for scalars).
int numericComponents(MFnNumericData::Type t);
//! Rounds a value the way storing it in an attribute of type t does.
double storeAsNumeric(MFnNumericData::Type t, double value);
//! Whether an attribute of type t takes the value without changing what it
//! means: whole numbers in range for the integer types, 0 or 1 for booleans,
//! no finite value beyond the float range for floats (rounding is fine).
//! setAttr and the scene reader refuse the rest alike.
bool holdsNumber(MFnNumericData::Type t, double value);
//! The refusal of such a value: "<plug> cannot hold <value> (it is of type <type>)".
std::string cannotHoldText(const std::string& plug, MFnNumericData::Type t, double value);
const char* dataTypeName(MFnData::Type t);
const char* numericTypeName(MFnNumericData::Type t);

}  // namespace ehost
