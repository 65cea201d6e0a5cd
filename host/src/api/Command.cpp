#include <maya/MCommandResult.h>
#include <maya/MGlobal.h>
#include <maya/MPxCommand.h>
#include <maya/MPxToolCommand.h>

#include <type_traits>

#include "host/src/command/Commands.h"
#include "host/src/core/Guard.h"
#include "host/src/core/MessageLog.h"
#include "host/src/core/NumberText.h"
#include "host/src/dg/Api.h"

using ehost::api::fail;
using ehost::api::setStatus;

// ---------------------------------------------------------------- MPxCommand

MPxCommand::MPxCommand() = default;
MPxCommand::~MPxCommand() = default;

MStatus MPxCommand::doIt(const MArgList&) {
    return MStatus::kSuccess;
}
MStatus MPxCommand::undoIt() {
    return MStatus::kSuccess;
}
MStatus MPxCommand::redoIt() {
    return MStatus::kSuccess;
}
bool MPxCommand::isUndoable() const {
    return false;
}
bool MPxCommand::hasSyntax() const {
    return impl_.syntax != nullptr;
}

MSyntax MPxCommand::syntax(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    if (!impl_.syntax) return MSyntax();
    return ehost::guarded([this] { return impl_.name.str() + ": the syntax creator"; }, MSyntax(),
                          [this] { return impl_.syntax(); }, status);
}

bool MPxCommand::isHistoryOn(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return impl_.historyOn;
}

MString MPxCommand::commandString(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return impl_.commandString;
}

MStatus MPxCommand::setHistoryOn(bool state) {
    impl_.historyOn = state;
    return MStatus::kSuccess;
}

MStatus MPxCommand::setCommandString(const MString& command) {
    impl_.commandString = command;
    return MStatus::kSuccess;
}

void MPxCommand::displayInfo(const MString& message) {
    ehost::theMessages().info(message.str());
}
void MPxCommand::displayWarning(const MString& message, bool) {
    ehost::theMessages().warning(message.str());
}
void MPxCommand::displayError(const MString& message, bool) {
    ehost::theMessages().error(message.str());
}

namespace {

//! The result of the innermost running command (a scratch one outside commands).
MCommandResult& result() {
    auto& commands = ehost::theCommands();
    return commands.results.empty() ? commands.looseResult : commands.results.back();
}

}  // namespace

void MPxCommand::clearResult() {
    result().reset();
}
void MPxCommand::setResult(unsigned int value) {
    result().setInt(static_cast<int>(value));
}
void MPxCommand::setResult(int value) {
    result().setInt(value);
}
void MPxCommand::setResult(float value) {
    result().setDouble(value);
}
void MPxCommand::setResult(double value) {
    result().setDouble(value);
}
void MPxCommand::setResult(bool value) {
    result().setInt(value ? 1 : 0);
}
void MPxCommand::setResult(const char* value) {
    result().setString(MString(value));
}
void MPxCommand::setResult(const MString& value) {
    result().setString(value);
}
void MPxCommand::setResult(const MIntArray& value) {
    result().setIntArray(value);
}
void MPxCommand::setResult(const MDoubleArray& value) {
    result().setDoubleArray(value);
}
void MPxCommand::setResult(const MStringArray& value) {
    result().setStringArray(value);
}

void MPxCommand::appendToResult(int value) {
    MIntArray a;
    result().getResult(a);
    a.append(value);
    result().setIntArray(a);
}

void MPxCommand::appendToResult(double value) {
    MDoubleArray a;
    result().getResult(a);
    a.append(value);
    result().setDoubleArray(a);
}

void MPxCommand::appendToResult(bool value) {
    appendToResult(value ? 1 : 0);
}
void MPxCommand::appendToResult(const char* value) {
    appendToResult(MString(value));
}

void MPxCommand::appendToResult(const MString& value) {
    MStringArray a;
    result().getResult(a);
    a.append(value);
    result().setStringArray(a);
}

void MPxCommand::appendToResult(const MStringArray& value) {
    MStringArray a;
    result().getResult(a);
    for (unsigned i = 0; i < value.length(); ++i) a.append(value[i]);
    result().setStringArray(a);
}

bool MPxCommand::isCurrentResultArray() {
    auto t = result().resultType();
    return t == MCommandResult::kIntArray || t == MCommandResult::kDoubleArray ||
           t == MCommandResult::kStringArray;
}

MPxCommand::MResultType MPxCommand::currentResultType() {
    switch (result().resultType()) {
        case MCommandResult::kInt:
        case MCommandResult::kIntArray:
            return kLong;
        case MCommandResult::kDouble:
        case MCommandResult::kDoubleArray:
            return kDouble;
        case MCommandResult::kString:
        case MCommandResult::kStringArray:
            return kString;
        default:
            return kNoArg;
    }
}

int MPxCommand::currentIntResult(MStatus* status) {
    int v = 0;
    setStatus(status, result().getResult(v));
    return v;
}

double MPxCommand::currentDoubleResult(MStatus* status) {
    double v = 0;
    setStatus(status, result().getResult(v));
    return v;
}

MString MPxCommand::currentStringResult(MStatus* status) {
    MString v;
    setStatus(status, result().getResult(v));
    return v;
}

// ---------------------------------------------------------------- MPxToolCommand

MPxToolCommand::MPxToolCommand() = default;
MPxToolCommand::~MPxToolCommand() = default;
MStatus MPxToolCommand::doIt(const MArgList&) {
    return MStatus::kSuccess;
}
MStatus MPxToolCommand::cancel() {
    return MStatus::kSuccess;
}
MStatus MPxToolCommand::finalize() {
    return MStatus::kSuccess;
}

namespace {

//! Hands a finalized tool command to the undo queue under its command text.
MStatus finalizeToolCommand(MPxToolCommand& tool, MArgList& command) {
    std::string text = ehost::ApiAccess::impl(static_cast<MPxCommand&>(tool)).name.str();
    for (const auto& a : ehost::ApiAccess::impl(command).args)
        text += " " + ehost::quoteIfNeeded(a.text);
    tool.setCommandString(MString(text));
    if (!tool.isUndoable()) return MStatus::kSuccess;
    ehost::UndoSink* sink = ehost::currentSink();
    if (!sink) return MStatus::kSuccess;
    if (!ehost::toolCommandFinalized(&tool))
        return fail(MStatus::kFailure,
                    "the tool command was not made by the host, or was finalized already");
    sink->record(std::make_unique<ehost::CommandItem>(&tool, text));
    return MStatus::kSuccess;
}

}  // namespace

MStatus MPxToolCommand::doFinalize(MArgList& command) {
    return ehost::guardEntry("MPxToolCommand::doFinalize",
                             [&] { return finalizeToolCommand(*this, command); });
}

// ---------------------------------------------------------------- MGlobal::executeCommand

namespace {

MStatus run(const MString& command, bool display, bool undo, MCommandResult& out) {
    // The interpreter reports what goes wrong inside it as errors; this is for
    // what is left (copying the result out).
    return ehost::guardEntry("MGlobal::executeCommand", [&] {
        return ehost::runCommands(command.str(), {display, undo}, &out);
    });
}

}  // namespace

MStatus MGlobal::executeCommand(const MString& command, bool displayEnabled, bool undoEnabled) {
    MCommandResult r;
    return run(command, displayEnabled, undoEnabled, r);
}

MStatus MGlobal::executeCommand(const MString& command, MCommandResult& result, bool displayEnabled,
                                bool undoEnabled) {
    return run(command, displayEnabled, undoEnabled, result);
}

namespace {

//! Runs the command and reads its result as the caller's type.
template <class T>
MStatus runInto(const MString& command, T& result, bool display, bool undo) {
    MCommandResult r;
    MStatus st = run(command, display, undo, r);
    if (!st) return st;
    return ehost::guardEntry("MGlobal::executeCommand", [&] {
        if constexpr (std::is_same_v<T, MString>) {
            result = r.stringResult();
            return MStatus(MStatus::kSuccess);
        } else {
            return r.getResult(result);
        }
    });
}

}  // namespace

MStatus MGlobal::executeCommand(const MString& command, int& result, bool displayEnabled,
                                bool undoEnabled) {
    return runInto(command, result, displayEnabled, undoEnabled);
}

MStatus MGlobal::executeCommand(const MString& command, double& result, bool displayEnabled,
                                bool undoEnabled) {
    return runInto(command, result, displayEnabled, undoEnabled);
}

MStatus MGlobal::executeCommand(const MString& command, MString& result, bool displayEnabled,
                                bool undoEnabled) {
    return runInto(command, result, displayEnabled, undoEnabled);
}

MStatus MGlobal::executeCommand(const MString& command, MIntArray& result, bool displayEnabled,
                                bool undoEnabled) {
    return runInto(command, result, displayEnabled, undoEnabled);
}

MStatus MGlobal::executeCommand(const MString& command, MDoubleArray& result, bool displayEnabled,
                                bool undoEnabled) {
    return runInto(command, result, displayEnabled, undoEnabled);
}

MStatus MGlobal::executeCommand(const MString& command, MStringArray& result, bool displayEnabled,
                                bool undoEnabled) {
    return runInto(command, result, displayEnabled, undoEnabled);
}

MString MGlobal::executeCommandStringResult(const MString& command, bool displayEnabled,
                                            bool undoEnabled, MStatus* status) {
    MCommandResult r;
    MStatus st = run(command, displayEnabled, undoEnabled, r);
    setStatus(status, st);
    return st ? r.stringResult() : MString();
}

bool MGlobal::isUndoing() {
    return ehost::isUndoing();
}
bool MGlobal::isRedoing() {
    return ehost::isRedoing();
}
