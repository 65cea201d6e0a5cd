#pragma once
#include <maya/MTypes.h>

#include <iostream>
#include <string>

class MString;

//! Result of a host API call: a code and, on failure, a text naming what went wrong.
class OPENMAYA_EXPORT MStatus {
public:
    enum MStatusCode {
        kSuccess = 0,
        kFailure,
        kInsufficientMemory,
        kInvalidParameter,
        kLicenseFailure,
        kUnknownParameter,
        kNotImplemented,
        kNotFound,
        kEndOfFile
    };

    MStatus() = default;
    MStatus(MStatusCode code) : code_(code) {}
    //! A failure with a text that says what was wrong (the host's own error reports).
    MStatus(MStatusCode code, const MString& detail);
    MStatus(MStatusCode code, const char* detail) : code_(code), detail_(detail ? detail : "") {}
    MStatus(MStatusCode code, const std::string& detail) : code_(code), detail_(detail) {}

    bool operator==(const MStatus& other) const { return code_ == other.code_; }
    bool operator==(MStatusCode code) const { return code_ == code; }
    bool operator!=(const MStatus& other) const { return code_ != other.code_; }
    bool operator!=(MStatusCode code) const { return code_ != code; }
    operator bool() const { return code_ == kSuccess; }

    bool error() const { return code_ != kSuccess; }
    void clear() {
        code_ = kSuccess;
        detail_.clear();
    }
    MStatusCode statusCode() const { return code_; }
    //! "(kCode): text" where text is the detail or the code's generic description.
    MString errorString() const;
    //! Writes "prefix: " and the error string to the error stream.
    void perror(const char* prefix = NULL) const;
    void perror(const MString& prefix) const;

    friend std::ostream& operator<<(std::ostream& os, const MStatus& status);

private:
    MStatusCode code_ = kSuccess;
    std::string detail_;
};

#define CHECK_MSTATUS_AND_RETURN(_status, _retVal)                                         \
    {                                                                                      \
        MStatus _maya_status = (_status);                                                  \
        if (MStatus::kSuccess != _maya_status) {                                           \
            std::cerr << "\nAPI error detected in " << __FILE__ << " at line " << __LINE__ \
                      << std::endl;                                                        \
            _maya_status.perror("");                                                       \
            return (_retVal);                                                              \
        }                                                                                  \
    }

#define CHECK_MSTATUS_AND_RETURN_IT(_status) CHECK_MSTATUS_AND_RETURN((_status), (_status))

#define CHECK_MSTATUS(_status)                                                             \
    {                                                                                      \
        MStatus _maya_status = (_status);                                                  \
        if (MStatus::kSuccess != _maya_status) {                                           \
            std::cerr << "\nAPI error detected in " << __FILE__ << " at line " << __LINE__ \
                      << std::endl;                                                        \
            _maya_status.perror("");                                                       \
        }                                                                                  \
    }

#define McheckErr(stat, msg)    \
    if (MS::kSuccess != stat) { \
        stat.perror(msg);       \
        return stat;            \
    }

typedef MStatus MS;
