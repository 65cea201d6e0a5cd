#pragma once
// The API error report of the patch node and modifier command: the source
// name and the line of the check, then the status's own error text.

#include <maya/MStatus.h>

#include <iostream>

namespace kvpatch {

inline void reportApiError(const MStatus& status, int line) {
    std::cerr << "\nAPI error detected in kvpatchnode at line " << line << std::endl;
    status.perror("");
}

}  // namespace kvpatch

#define KV_REPORT_ERROR(status)                                     \
    do {                                                            \
        if (!(status)) kvpatch::reportApiError((status), __LINE__); \
    } while (0)
