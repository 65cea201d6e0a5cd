#pragma once
// The host's input as the tool's state machine sees it: a view position in
// pixels (origin at the bottom left), the button and the modifier keys.

namespace tessark::tool {

enum class Button { none, left, middle };

struct Modifiers {
    bool shift = false;
    bool ctrl = false;
};

struct PointerEvent {
    short x = 0;
    short y = 0;
    Button button = Button::none;
    Modifiers modifiers;
};

}  // namespace tessark::tool
