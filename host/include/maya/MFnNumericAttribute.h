#pragma once
#include <maya/MFnAttribute.h>
#include <maya/MFnNumericData.h>

//! Creates and edits attributes holding numbers (and 2/3-number compounds).
class OPENMAYA_EXPORT MFnNumericAttribute : public MFnAttribute {
public:
    MFnNumericAttribute() = default;
    MFnNumericAttribute(const MObject& attribute, MStatus* status = NULL);
    MFn::Type type() const override { return MFn::kNumericAttribute; }

    MObject create(const MString& fullName, const MString& briefName, MFnNumericData::Type unitType,
                   double defaultValue = 0, MStatus* status = NULL);
    MObject create(const MString& fullName, const MString& briefName, const MObject& child1,
                   const MObject& child2, const MObject& child3 = MObject::kNullObj,
                   MStatus* status = NULL);
    MObject createColor(const MString& fullName, const MString& briefName, MStatus* status = NULL);
    MObject createPoint(const MString& fullName, const MString& briefName, MStatus* status = NULL);

    MFnNumericData::Type unitType(MStatus* status = NULL) const;
    MStatus setDefault(bool value);
    MStatus setDefault(int value);
    MStatus setDefault(float value);
    MStatus setDefault(double value);
    MStatus setDefault(int a, int b);
    MStatus setDefault(float a, float b);
    MStatus setDefault(double a, double b);
    MStatus setDefault(int a, int b, int c);
    MStatus setDefault(float a, float b, float c);
    MStatus setDefault(double a, double b, double c);
    MStatus getDefault(bool& value);
    MStatus getDefault(int& value);
    MStatus getDefault(float& value);
    MStatus getDefault(double& value);
    MStatus setMin(double value);
    MStatus setMax(double value);
    MStatus setSoftMin(double value);
    MStatus setSoftMax(double value);

private:
    MStatus setDefaults(const double* values, int count);
};
