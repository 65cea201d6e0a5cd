#pragma once
#include <maya/MFnData.h>

//! Numeric data objects, and the names of the numeric types of attributes.
class OPENMAYA_EXPORT MFnNumericData : public MFnData {
public:
    enum Type {
        kInvalid,
        kBoolean,
        kByte,
        kChar,
        kShort,
        k2Short,
        k3Short,
        kLong,
        kInt = kLong,
        k2Long,
        k2Int = k2Long,
        k3Long,
        k3Int = k3Long,
        kInt64,
        kFloat,
        k2Float,
        k3Float,
        kDouble,
        k2Double,
        k3Double,
        k4Double,
        kAddr,
        kLast
    };

    MFnNumericData() = default;
    MFnNumericData(const MObject& object, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kNumericData; }

    MObject create(Type dataType, MStatus* status = NULL);
    Type numericType(MStatus* status = NULL);
    MStatus getData(int& v1, int& v2);
    MStatus getData(int& v1, int& v2, int& v3);
    MStatus getData(float& v1, float& v2);
    MStatus getData(float& v1, float& v2, float& v3);
    MStatus getData(double& v1, double& v2);
    MStatus getData(double& v1, double& v2, double& v3);
    MStatus setData(int v1, int v2);
    MStatus setData(int v1, int v2, int v3);
    MStatus setData(float v1, float v2);
    MStatus setData(float v1, float v2, float v3);
    MStatus setData(double v1, double v2);
    MStatus setData(double v1, double v2, double v3);
};
