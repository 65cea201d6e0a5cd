#pragma once
#include <maya/MDoubleArray.h>
#include <maya/MIntArray.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>

//! The result of a command run through MGlobal::executeCommand.
class OPENMAYA_EXPORT MCommandResult {
public:
    enum Type {
        kInvalid = 0,
        kInt,
        kIntArray,
        kDouble,
        kDoubleArray,
        kString,
        kStringArray,
        kVector,
        kVectorArray,
        kMatrix,
        kMatrixArray
    };

    MCommandResult(MStatus* status = NULL) {
        if (status) *status = MStatus::kSuccess;
    }
    Type resultType(MStatus* status = NULL) const {
        if (status) *status = MStatus::kSuccess;
        return type_;
    }
    MStatus getResult(int& result) const;
    MStatus getResult(double& result) const;
    MStatus getResult(MString& result) const;
    MStatus getResult(MIntArray& result) const;
    MStatus getResult(MDoubleArray& result) const;
    MStatus getResult(MStringArray& result) const;
    //! The result as the host prints it.
    MString stringResult() const;

    void setInt(int v);
    void setDouble(double v);
    void setString(const MString& v);
    void setIntArray(const MIntArray& v);
    void setDoubleArray(const MDoubleArray& v);
    void setStringArray(const MStringArray& v);
    void reset() { type_ = kInvalid; }

private:
    Type type_ = kInvalid;
    MIntArray ints_;
    MDoubleArray doubles_;
    MStringArray strings_;
};
