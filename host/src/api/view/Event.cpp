#include <maya/MCursor.h>
#include <maya/MEvent.h>

#include "host/src/dg/Api.h"

using ehost::api::setStatus;

// ---------------------------------------------------------------- MEvent

MStatus MEvent::getPosition(short& x_pos, short& y_pos) const {
    x_pos = impl_.x;
    y_pos = impl_.y;
    return MStatus::kSuccess;
}

MStatus MEvent::setPosition(short x_pos, short y_pos) {
    impl_.x = x_pos;
    impl_.y = y_pos;
    return MStatus::kSuccess;
}

// The viewport is the only window here: window and view positions agree.
MStatus MEvent::getWindowPosition(short& x_pos, short& y_pos) const {
    return getPosition(x_pos, y_pos);
}

MEvent::MouseButtonType MEvent::mouseButton(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, MStatus::kSuccess);
    return impl_.button;
}

bool MEvent::isModifierNone(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, MStatus::kSuccess);
    return impl_.modifiers == 0;
}

bool MEvent::isModifierShift(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, MStatus::kSuccess);
    return (impl_.modifiers & shiftKey) != 0;
}

bool MEvent::isModifierControl(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, MStatus::kSuccess);
    return (impl_.modifiers & controlKey) != 0;
}

bool MEvent::isModifierKeyRelease(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, MStatus::kSuccess);
    return false;
}

bool MEvent::isModifierMiddleMouseButton(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, MStatus::kSuccess);
    return impl_.button == kMiddleMouse;
}

bool MEvent::isModifierLeftMouseButton(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, MStatus::kSuccess);
    return impl_.button == kLeftMouse;
}

unsigned int MEvent::modifiers(MStatus* ReturnStatus) const {
    setStatus(ReturnStatus, MStatus::kSuccess);
    return impl_.modifiers;
}

MStatus MEvent::setModifiers(unsigned int modType) {
    impl_.modifiers = modType;
    return MStatus::kSuccess;
}

// ---------------------------------------------------------------- MCursor

MCursor::MCursor(short, short, short, short, const unsigned char*, const unsigned char*) {
    impl_.name = "bitmap";
}
MCursor::MCursor(const char* fileName) {
    impl_.name = fileName ? fileName : "";
}

const MCursor MCursor::defaultCursor(std::string("default"));
const MCursor MCursor::crossHairCursor(std::string("crossHair"));
const MCursor MCursor::doubleCrossHairCursor(std::string("doubleCrossHair"));
const MCursor MCursor::editCursor(std::string("edit"));
const MCursor MCursor::pencilCursor(std::string("pencil"));
const MCursor MCursor::handCursor(std::string("hand"));
