#pragma once
// The API error report: "API error detected in" the source name and the line
// of the check, then the status's own error text. The rail tool reports as
// "tessark", the patch node and its command as "kvpatchnode".

#include <maya/MStatus.h>

#include <iostream>

namespace tessark {

inline void reportApiError(const char* source, const MStatus& status, int line) {
    std::cerr << "\nAPI error detected in " << source << " at line " << line << std::endl;
    status.perror("");
}

}  // namespace tessark

#define TESSARK_REPORT_ERROR(status)                                           \
    do {                                                                       \
        if (!(status)) tessark::reportApiError("tessark", (status), __LINE__); \
    } while (0)

#define KV_REPORT_ERROR(status)                                                    \
    do {                                                                           \
        if (!(status)) tessark::reportApiError("kvpatchnode", (status), __LINE__); \
    } while (0)
