#pragma once
// The rail tool's API error report: the source name and the line of the
// check, then the status's own error text.

#include <maya/MStatus.h>

#include <iostream>

namespace tessark {

inline void reportApiError(const MStatus& status, int line) {
    std::cerr << "\nAPI error detected in tessark at line " << line << std::endl;
    status.perror("");
}

}  // namespace tessark

#define TESSARK_REPORT_ERROR(status)                                \
    do {                                                            \
        if (!(status)) tessark::reportApiError((status), __LINE__); \
    } while (0)
