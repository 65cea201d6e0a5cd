#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>

//! The context an evaluation runs in. The embedded host evaluates only at the
//! current time, so every context is the normal one.
class OPENMAYA_EXPORT MDGContext {
public:
    MDGContext() = default;
    bool isNormal(MStatus* status = NULL) const {
        if (status) *status = MStatus::kSuccess;
        return true;
    }
    bool isCurrent(MStatus* status = NULL) const { return isNormal(status); }

    static MDGContext fsNormal;
    static const MDGContext& current();
};
