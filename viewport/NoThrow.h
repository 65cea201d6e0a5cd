#pragma once
// The host calls into the plug-in and must never see an exception come back
// (only running out of memory can raise one here): a call that throws ends
// as a plain failure, and a drawing pass that throws draws what it had.

#include <maya/MStatus.h>

template <class Call>
MStatus failureOnThrow(Call&& call) noexcept {
    try {
        return call();
    } catch (...) {
        return MStatus::kFailure;
    }
}

template <class Call>
void stopOnThrow(Call&& call) noexcept {
    try {
        call();
    } catch (...) {
    }
}
