#include <maya/MPxCommand.h>
#include <maya/MPxContext.h>
#include <maya/MPxContextCommand.h>
#include <maya/MPxToolCommand.h>

#include "host/src/command/Commands.h"
#include "host/src/core/Guard.h"
#include "host/src/dg/Api.h"

using ehost::api::fail;
using ehost::api::setStatus;

// ---------------------------------------------------------------- MPxContext

MPxContext::MPxContext() = default;
MPxContext::~MPxContext() = default;

void MPxContext::toolOnSetup(MEvent&) {}
void MPxContext::toolOffCleanup() {}

MStatus MPxContext::doPress(MEvent&) {
    return MStatus::kSuccess;
}
MStatus MPxContext::doRelease(MEvent&) {
    return MStatus::kSuccess;
}
MStatus MPxContext::doDrag(MEvent&) {
    return MStatus::kSuccess;
}
MStatus MPxContext::doHold(MEvent&) {
    return MStatus::kSuccess;
}
MStatus MPxContext::doPtrMoved(MEvent&) {
    return MStatus::kSuccess;
}
MStatus MPxContext::doEnterRegion(MEvent&) {
    return MStatus::kSuccess;
}

// The base Viewport 2.0 handlers tell the host to call the older form.
MStatus MPxContext::doPress(MEvent&, MHWRender::MUIDrawManager&, const MHWRender::MFrameContext&) {
    impl_.fallback = true;
    return MStatus::kNotImplemented;
}

MStatus MPxContext::doRelease(MEvent&, MHWRender::MUIDrawManager&,
                              const MHWRender::MFrameContext&) {
    impl_.fallback = true;
    return MStatus::kNotImplemented;
}

MStatus MPxContext::doDrag(MEvent&, MHWRender::MUIDrawManager&, const MHWRender::MFrameContext&) {
    impl_.fallback = true;
    return MStatus::kNotImplemented;
}

MStatus MPxContext::doHold(MEvent&, MHWRender::MUIDrawManager&, const MHWRender::MFrameContext&) {
    impl_.fallback = true;
    return MStatus::kNotImplemented;
}

MStatus MPxContext::doPtrMoved(MEvent&, MHWRender::MUIDrawManager&,
                               const MHWRender::MFrameContext&) {
    impl_.fallback = true;
    return MStatus::kNotImplemented;
}

MStatus MPxContext::drawFeedback(MHWRender::MUIDrawManager&, const MHWRender::MFrameContext&) {
    return MStatus::kSuccess;
}

void MPxContext::deleteAction() {}
void MPxContext::completeAction() {}
void MPxContext::abortAction() {}

void MPxContext::getClassName(MString& name) const {
    name = "context";
}

bool MPxContext::processNumericalInput(const MDoubleArray&, const MIntArray&, bool) {
    return false;
}
bool MPxContext::feedbackNumericalInput() const {
    return false;
}
MSyntax::MArgType MPxContext::argTypeNumericalInput(unsigned int) const {
    return MSyntax::kNoArg;
}

MStatus MPxContext::setImage(const MString& image, ImageIndex index) {
    if (index < kImage1 || index > kImage3)
        return fail(MStatus::kInvalidParameter, "image index must be 0, 1 or 2");
    impl_.images[index] = image.str();
    return MStatus::kSuccess;
}

MString MPxContext::getImage(ImageIndex index, MStatus* ReturnStatus) const {
    if (index < kImage1 || index > kImage3) {
        setStatus(ReturnStatus, fail(MStatus::kInvalidParameter, "image index must be 0, 1 or 2"));
        return MString();
    }
    setStatus(ReturnStatus, MStatus::kSuccess);
    return MString(impl_.images[index]);
}

MStatus MPxContext::setCursor(const MCursor& cursor) {
    impl_.cursor = cursor;
    return MStatus::kSuccess;
}

MStatus MPxContext::setHelpString(const MString& str) {
    impl_.helpString = str.str();
    return MStatus::kSuccess;
}

MStatus MPxContext::setTitleString(const MString& str) {
    impl_.titleString = str.str();
    return MStatus::kSuccess;
}

MPxToolCommand* MPxContext::newToolCommand() {
    if (impl_.toolCommand.empty()) return nullptr;
    const ehost::CommandDef* def = ehost::theCommands().find(impl_.toolCommand);
    if (!def || !def->creator) return nullptr;
    auto* command = static_cast<MPxToolCommand*>(
        ehost::guarded(def->name + ".creator", static_cast<void*>(nullptr), def->creator));
    if (!command) return nullptr;
    ehost::prepareCommand(*command, *def, def->name);
    ehost::trackToolCommand(command);
    return command;
}

// ---------------------------------------------------------------- MPxContextCommand

MPxContextCommand::MPxContextCommand() = default;
MPxContextCommand::~MPxContextCommand() = default;

MStatus MPxContextCommand::doEditFlags() {
    return MStatus::kSuccess;
}
MStatus MPxContextCommand::doQueryFlags() {
    return MStatus::kSuccess;
}
MStatus MPxContextCommand::appendSyntax() {
    return MStatus::kSuccess;
}

MSyntax MPxContextCommand::syntax() const {
    return impl_.syntax;
}
MArgParser MPxContextCommand::parser() const {
    return impl_.parser;
}

MStatus MPxContextCommand::setResult(bool result) {
    MPxCommand::setResult(result);
    return MStatus::kSuccess;
}

MStatus MPxContextCommand::setResult(int result) {
    MPxCommand::setResult(result);
    return MStatus::kSuccess;
}

MStatus MPxContextCommand::setResult(double result) {
    MPxCommand::setResult(result);
    return MStatus::kSuccess;
}

MStatus MPxContextCommand::setResult(const MString& result) {
    MPxCommand::setResult(result);
    return MStatus::kSuccess;
}

MStatus MPxContextCommand::setResult(const MIntArray& result) {
    MPxCommand::setResult(result);
    return MStatus::kSuccess;
}

MStatus MPxContextCommand::setResult(const MDoubleArray& result) {
    MPxCommand::setResult(result);
    return MStatus::kSuccess;
}

MStatus MPxContextCommand::setResult(const MStringArray& result) {
    MPxCommand::setResult(result);
    return MStatus::kSuccess;
}

MStatus MPxContextCommand::appendToResult(int result) {
    MPxCommand::appendToResult(result);
    return MStatus::kSuccess;
}

MStatus MPxContextCommand::appendToResult(double result) {
    MPxCommand::appendToResult(result);
    return MStatus::kSuccess;
}

MStatus MPxContextCommand::appendToResult(const MString& result) {
    MPxCommand::appendToResult(result);
    return MStatus::kSuccess;
}

MStatus MPxContextCommand::clearResult() {
    MPxCommand::clearResult();
    return MStatus::kSuccess;
}
