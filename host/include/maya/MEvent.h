#pragma once
#include <maya/MStatus.h>
#include <maya/MTypes.h>

namespace ehost {
struct ApiAccess;
}

//! An input event handed to a tool context: the pointer position in view
//! pixels (origin at the bottom left), the mouse button and the modifier keys.
class OPENMAYAUI_EXPORT MEvent {
public:
    enum MouseButtonType { kLeftMouse = 1 << 6, kMiddleMouse = 1 << 7 };
    enum ModifierType { shiftKey = 1 << 0, controlKey = 1 << 2 };

    MEvent() = default;
    MEvent(const MEvent&) = default;
    MEvent& operator=(const MEvent&) = default;
    virtual ~MEvent() = default;

    MStatus getPosition(short& x_pos, short& y_pos) const;
    MStatus setPosition(short x_pos, short y_pos);
    MStatus getWindowPosition(short& x_pos, short& y_pos) const;
    MouseButtonType mouseButton(MStatus* ReturnStatus = NULL) const;
    bool isModifierNone(MStatus* ReturnStatus = NULL) const;
    bool isModifierShift(MStatus* ReturnStatus = NULL) const;
    bool isModifierControl(MStatus* ReturnStatus = NULL) const;
    bool isModifierKeyRelease(MStatus* ReturnStatus = NULL) const;
    bool isModifierMiddleMouseButton(MStatus* ReturnStatus = NULL) const;
    bool isModifierLeftMouseButton(MStatus* ReturnStatus = NULL) const;
    unsigned int modifiers(MStatus* ReturnStatus = NULL) const;
    MStatus setModifiers(unsigned int modType);

private:
    friend struct ehost::ApiAccess;
    struct Impl {
        short x = 0, y = 0;
        MouseButtonType button = kLeftMouse;
        unsigned int modifiers = 0;
    };
    Impl impl_;
};
