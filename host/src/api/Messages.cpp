#include <maya/MCommandResult.h>
#include <maya/MEventMessage.h>
#include <maya/MMessage.h>
#include <maya/MStringArray.h>

#include "host/src/core/Events.h"
#include "host/src/core/NumberText.h"
#include "host/src/core/Saturate.h"
#include "host/src/dg/Api.h"
#include "host/src/dg/Scene.h"

using ehost::api::fail;
using ehost::api::setStatus;

MStatus MMessage::removeCallback(MCallbackId id) {
    return ehost::theEvents().remove(id) || ehost::theScene().watch.remove(id)
               ? MStatus(MStatus::kSuccess)
               : fail(MStatus::kInvalidParameter, "no callback with id " + std::to_string(id));
}

MStatus MMessage::removeCallbacks(MCallbackIdArray& ids) {
    MStatus result;
    for (unsigned i = 0; i < ids.length(); ++i) {
        MStatus st = removeCallback(ids[i]);
        if (!st) result = st;
    }
    return result;
}

MCallbackId MMessage::currentCallbackId(MStatus* status) {
    MCallbackId running = ehost::theEvents().running();
    setStatus(status, running ? MStatus(MStatus::kSuccess) : MStatus(MStatus::kFailure));
    return running;
}

MCallbackId MEventMessage::addEventCallback(const MString& event, MMessage::MBasicFunction func,
                                            void* clientData, MStatus* status) {
    if (!func) {
        setStatus(status, fail(MStatus::kInvalidParameter, "addEventCallback needs a function"));
        return 0;
    }
    if (!ehost::Events::known(event.str())) {
        setStatus(status,
                  fail(MStatus::kInvalidParameter, "unknown event \"" + event.str() + "\""));
        return 0;
    }
    MCallbackId id = ehost::theEvents().add(event.str(), [func, clientData] { func(clientData); });
    setStatus(status, MStatus::kSuccess);
    return id;
}

MStatus MEventMessage::getEventNames(MStringArray& names) {
    names.clear();
    for (const auto& n : ehost::Events::knownNames()) names.append(MString(n));
    return MStatus::kSuccess;
}

// ---------------------------------------------------------------- MCommandResult

namespace {
MStatus wrongType() {
    return fail(MStatus::kInvalidParameter, "the command result is of another type");
}
}  // namespace

MStatus MCommandResult::getResult(int& result) const {
    if (type_ == kInt)
        result = ints_.length() ? ints_[0] : 0;
    else if (type_ == kDouble)
        result = ehost::saturatingCast<int>(doubles_.length() ? doubles_[0] : 0);
    else
        return wrongType();
    return MStatus::kSuccess;
}

MStatus MCommandResult::getResult(double& result) const {
    if (type_ == kDouble)
        result = doubles_.length() ? doubles_[0] : 0;
    else if (type_ == kInt)
        result = ints_.length() ? ints_[0] : 0;
    else
        return wrongType();
    return MStatus::kSuccess;
}

MStatus MCommandResult::getResult(MString& result) const {
    if (type_ != kString) return wrongType();
    result = strings_.length() ? strings_[0] : MString();
    return MStatus::kSuccess;
}

MStatus MCommandResult::getResult(MIntArray& result) const {
    if (type_ != kInt && type_ != kIntArray) return wrongType();
    result = ints_;
    return MStatus::kSuccess;
}

MStatus MCommandResult::getResult(MDoubleArray& result) const {
    if (type_ != kDouble && type_ != kDoubleArray) return wrongType();
    result = doubles_;
    return MStatus::kSuccess;
}

MStatus MCommandResult::getResult(MStringArray& result) const {
    if (type_ != kString && type_ != kStringArray) return wrongType();
    result = strings_;
    return MStatus::kSuccess;
}

MString MCommandResult::stringResult() const {
    std::string out;
    auto join = [&](unsigned n, auto item) {
        for (unsigned i = 0; i < n; ++i) out += (i ? " " : "") + item(i);
    };
    switch (type_) {
        case kInt:
        case kIntArray:
            join(ints_.length(), [&](unsigned i) { return std::to_string(ints_[i]); });
            break;
        case kDouble:
        case kDoubleArray:
            join(doubles_.length(), [&](unsigned i) { return ehost::shortestText(doubles_[i]); });
            break;
        case kString:
        case kStringArray:
            join(strings_.length(), [&](unsigned i) { return strings_[i].str(); });
            break;
        default:
            break;
    }
    return MString(out);
}

void MCommandResult::setInt(int v) {
    reset();
    ints_.clear();
    ints_.append(v);
    type_ = kInt;
}

void MCommandResult::setDouble(double v) {
    reset();
    doubles_.clear();
    doubles_.append(v);
    type_ = kDouble;
}

void MCommandResult::setString(const MString& v) {
    strings_.clear();
    strings_.append(v);
    type_ = kString;
}

void MCommandResult::setIntArray(const MIntArray& v) {
    ints_ = v;
    type_ = kIntArray;
}

void MCommandResult::setDoubleArray(const MDoubleArray& v) {
    doubles_ = v;
    type_ = kDoubleArray;
}

void MCommandResult::setStringArray(const MStringArray& v) {
    strings_ = v;
    type_ = kStringArray;
}
