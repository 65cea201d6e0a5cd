#include "host/src/core/Guard.h"

#include <new>

#include "host/src/core/MessageLog.h"

namespace ehost {

std::string exceptionText(std::exception_ptr thrown) {
    try {
        std::rethrow_exception(thrown);
    } catch (const std::exception& e) {
        const char* text = e.what();
        return text && *text ? text : "an exception without a message";
    } catch (...) {
        return "an exception that is not a std::exception";
    }
}

namespace {

MStatus::MStatusCode codeFor(std::exception_ptr thrown) noexcept {
    try {
        std::rethrow_exception(thrown);
    } catch (const std::bad_alloc&) {
        return MStatus::kInsufficientMemory;
    } catch (...) {
        return MStatus::kFailure;
    }
}

}  // namespace

MStatus thrownStatus(std::exception_ptr thrown, std::string (*describe)(const void*),
                     const void* context, bool report) noexcept {
    const MStatus::MStatusCode code = codeFor(thrown);
    try {
        std::string text = describe(context) + " threw: " + exceptionText(thrown);
        if (report) theMessages().error(text);
        return MStatus(code, text);
    } catch (...) {
        return MStatus(code);
    }
}

}  // namespace ehost
