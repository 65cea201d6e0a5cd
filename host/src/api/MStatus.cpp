#include <maya/MStatus.h>
#include <maya/MString.h>

#include <iostream>

namespace {

const char* codeName(MStatus::MStatusCode code) {
    switch (code) {
        case MStatus::kSuccess:
            return "kSuccess";
        case MStatus::kFailure:
            return "kFailure";
        case MStatus::kInsufficientMemory:
            return "kInsufficientMemory";
        case MStatus::kInvalidParameter:
            return "kInvalidParameter";
        case MStatus::kLicenseFailure:
            return "kLicenseFailure";
        case MStatus::kUnknownParameter:
            return "kUnknownParameter";
        case MStatus::kNotImplemented:
            return "kNotImplemented";
        case MStatus::kNotFound:
            return "kNotFound";
        case MStatus::kEndOfFile:
            return "kEndOfFile";
    }
    return "kUnknown";
}

const char* codeText(MStatus::MStatusCode code) {
    switch (code) {
        case MStatus::kSuccess:
            return "Success";
        case MStatus::kFailure:
            return "Unexpected Internal Failure";
        case MStatus::kInsufficientMemory:
            return "Insufficient Memory";
        case MStatus::kInvalidParameter:
            return "Invalid Parameter";
        case MStatus::kLicenseFailure:
            return "License Failure";
        case MStatus::kUnknownParameter:
            return "Unknown Parameter";
        case MStatus::kNotImplemented:
            return "Not Implemented";
        case MStatus::kNotFound:
            return "Not Found";
        case MStatus::kEndOfFile:
            return "End of File";
    }
    return "Unknown Status";
}

}  // namespace

MStatus::MStatus(MStatusCode code, const MString& detail) : code_(code), detail_(detail.str()) {}

MString MStatus::errorString() const {
    std::string text = "(";
    text += codeName(code_);
    text += "): ";
    text += detail_.empty() ? codeText(code_) : detail_;
    return MString(text);
}

void MStatus::perror(const char* prefix) const {
    if (prefix && *prefix)
        std::cerr << prefix << ": " << errorString() << std::endl;
    else
        std::cerr << errorString() << std::endl;
}

void MStatus::perror(const MString& prefix) const {
    perror(prefix.asChar());
}

std::ostream& operator<<(std::ostream& os, const MStatus& status) {
    return os << status.errorString();
}
