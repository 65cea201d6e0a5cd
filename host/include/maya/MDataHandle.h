#pragma once
#include <maya/MFloatVector.h>
#include <maya/MFnData.h>
#include <maya/MFnNumericData.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MVector.h>

namespace ehost {
class Node;
class Attribute;
struct Cell;
struct ApiAccess;
}  // namespace ehost

class MPlug;

//! A handle to one value in a node's data block, valid during compute (or
//! until the plug it came from is written again).
class OPENMAYA_EXPORT MDataHandle {
public:
    MDataHandle() = default;

    bool isNumeric() const;
    bool isGeneric(bool& isNumeric, bool& isNull) const;
    MFnNumericData::Type numericType() const;
    MFnData::Type type() const;
    MObject attribute();
    MObject data();

    bool asBool() const;
    char asChar() const;
    unsigned char asUChar() const;
    short asShort() const;
    int asInt() const;
    int asLong() const { return asInt(); }
    float asFloat() const;
    double asDouble() const;
    //! The components of a 2/3-number value (read access).
    float2& asFloat2();
    float3& asFloat3();
    double2& asDouble2();
    double3& asDouble3();
    int3& asInt3();
    MVector asVector() const;
    MFloatVector asFloatVector() const;
    MMatrix asMatrix() const;
    MString asString() const;
    MObject asMesh() const;
    MObject asMeshTransformed() const;

    void set(bool value);
    void set(char value);
    void set(short value);
    void set(int value);
    void set(float value);
    void set(double value);
    void set(const MMatrix& value);
    void set(const MVector& value);
    void set(const MFloatVector& value);
    void set(int a, int b, int c);
    void set(float a, float b, float c);
    void set(double a, double b, double c);
    void set(const MString& value);
    MStatus set(const MObject& data);
    MStatus setMObject(const MObject& data) { return set(data); }
    void setBool(bool v) { set(v); }
    void setChar(char v) { set(v); }
    void setShort(short v) { set(v); }
    void setInt(int v) { set(v); }
    void setFloat(float v) { set(v); }
    void setDouble(double v) { set(v); }
    void setMMatrix(const MMatrix& v) { set(v); }
    void setMVector(const MVector& v) { set(v); }
    void setString(const MString& v) { set(v); }

    MStatus copy(const MDataHandle& source);
    MStatus copyWritable(const MDataHandle& source) { return copy(source); }
    void setClean();
    MDataHandle child(const MObject& attribute);
    MDataHandle child(const MPlug& plug);

private:
    friend struct ehost::ApiAccess;
    struct Impl {
        ehost::Node* node = nullptr;
        const ehost::Attribute* attr = nullptr;
        int index = -1;
        ehost::Cell* cell = nullptr;
        // Scratch for the tuple accessors, which hand out references.
        float f[3] = {0, 0, 0};
        double d[3] = {0, 0, 0};
        int i[3] = {0, 0, 0};
    };
    Impl impl_;
    double number(int component) const;
    void setNumbers(const double* values, int count);
};
