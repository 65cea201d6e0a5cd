#pragma once
// The API edge. The engine calls plug-in code (creators, compute, command
// and tool handlers, draw and render overrides, event callbacks, entry
// points) and plug-in code calls the engine (the API); no exception crosses
// the edge either way. An exception becomes a failing status whose text
// names what threw: "kvPatchNode.compute of node kvPatchNode1 threw:
// std::bad_alloc". Calls into plug-in code also report it as an error, as
// the host reports any other failure of a plug-in.
//
// What names the call is a string or, where building one would cost on
// every call, a callable returning it (built only when something threw).

#include <maya/MStatus.h>

#include <exception>
#include <string>
#include <type_traits>
#include <utility>

namespace ehost {

//! The exception's own text (what()), or a word on its kind when it has none.
std::string exceptionText(std::exception_ptr thrown);

//! The failing status for an exception that ended a call ("<what> threw:
//! <text>", kInsufficientMemory for std::bad_alloc); reported as an error
//! when report is set. Without memory left for the text, the bare code.
MStatus thrownStatus(std::exception_ptr thrown, std::string (*describe)(const void*),
                     const void* context, bool report) noexcept;

namespace guard_detail {

template <class What>
std::string describe(const void* what) {
    const What& w = *static_cast<const What*>(what);
    if constexpr (std::is_invocable_v<const What&>)
        return std::string(w());
    else
        return std::string(w);
}

template <class What>
MStatus thrown(const What& what, bool report) noexcept {
    return thrownStatus(std::current_exception(), &describe<What>, &what, report);
}

}  // namespace guard_detail

//! Calls plug-in code (or runs what reports its failures as errors) that
//! returns a status, or nothing.
template <class What, class Call>
MStatus guarded(const What& what, Call&& call) noexcept {
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<Call&>>) {
            call();
            return MStatus::kSuccess;
        } else {
            return MStatus(call());
        }
    } catch (...) {
        return guard_detail::thrown(what, true);
    }
}

//! The same for a call that returns a value: fallback when it throws, and
//! the failure in status when one is given.
template <class T, class What, class Call>
T guarded(const What& what, T fallback, Call&& call, MStatus* status = nullptr) noexcept {
    try {
        return call();
    } catch (...) {
        MStatus st = guard_detail::thrown(what, true);
        if (status) *status = std::move(st);
        return fallback;
    }
}

//! Runs the engine's side of an API entry that returns a status. Nothing is
//! reported: the caller gets the failure (and so does code that reports a
//! failure in its own words).
template <class What, class Call>
MStatus guardEntry(const What& what, Call&& call) noexcept {
    try {
        return MStatus(call());
    } catch (...) {
        return guard_detail::thrown(what, false);
    }
}

//! Runs the engine's side of an API entry that returns a value: fallback when
//! the engine throws, with the failure in status (the host's ReturnStatus).
template <class T, class What, class Call>
T guardEntry(MStatus* status, const What& what, T fallback, Call&& call) noexcept {
    try {
        return call();
    } catch (...) {
        MStatus st = guard_detail::thrown(what, false);
        if (status) *status = std::move(st);
        return fallback;
    }
}

}  // namespace ehost
