#pragma once
#include <maya/MAngle.h>
#include <maya/MDistance.h>
#include <maya/MDoubleArray.h>
#include <maya/MIntArray.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MStringArray.h>
#include <maya/MVector.h>

#include <string>
#include <vector>

namespace ehost {
struct ApiAccess;
}

//! The arguments a command was given, in order, as typed.
class OPENMAYA_EXPORT MArgList {
public:
    static const unsigned int kInvalidArgIndex = 0xffffffff;

    MArgList() = default;
    MArgList(const MArgList&) = default;
    MArgList& operator=(const MArgList&) = default;
    ~MArgList() = default;

    unsigned int length(MStatus* status = NULL) const;
    bool asBool(unsigned int index, MStatus* status = NULL) const;
    int asInt(unsigned int index, MStatus* status = NULL) const;
    double asDouble(unsigned int index, MStatus* status = NULL) const;
    MString asString(unsigned int index, MStatus* status = NULL) const;
    MDistance asDistance(unsigned int index, MStatus* status = NULL) const;
    MAngle asAngle(unsigned int index, MStatus* status = NULL) const;
    //! Reads numElements numbers from index on and moves index past them.
    MVector asVector(unsigned int& index, unsigned int numElements = 3,
                     MStatus* status = NULL) const;
    MPoint asPoint(unsigned int& index, unsigned int numElements = 3, MStatus* status = NULL) const;
    MMatrix asMatrix(unsigned int& index, MStatus* status = NULL) const;
    MIntArray asIntArray(unsigned int& index, MStatus* status = NULL) const;
    MDoubleArray asDoubleArray(unsigned int& index, MStatus* status = NULL) const;
    MStringArray asStringArray(unsigned int& index, MStatus* status = NULL) const;
    //! Position of a flag ("-m" or "-mesh"), or kInvalidArgIndex.
    unsigned int flagIndex(const char* shortFlag, const char* longFlag = NULL) const;

    MStatus get(unsigned int index, bool& value) const;
    MStatus get(unsigned int index, int& value) const;
    MStatus get(unsigned int index, double& value) const;
    MStatus get(unsigned int index, MString& value) const;
    MStatus get(unsigned int index, MDistance& value) const;
    MStatus get(unsigned int index, MAngle& value) const;

    MArgList& addArg(bool value);
    MArgList& addArg(int value);
    MArgList& addArg(double value);
    MArgList& addArg(const MString& value);
    MArgList& addArg(const MDistance& value);
    MArgList& addArg(const MAngle& value);
    MArgList& addArg(const MVector& value);
    MArgList& addArg(const MPoint& value);

    //! One argument as typed (engine use).
    struct Arg {
        std::string text;
        bool quoted = false;  // given as a quoted string: never a flag
    };

private:
    friend struct ehost::ApiAccess;
    struct Impl {
        std::vector<Arg> args;
    };
    Impl impl_;
};
