#pragma once
// What the page asks of the studio, one JSON text message at a time, read
// and checked before anything reaches the host: a message that is not JSON,
// names no known type or carries a field of the wrong kind is refused whole
// with the reason, so that it can change nothing.

#include <array>
#include <string>
#include <variant>

namespace tessark_studio {

//! The page opened (or its view changed size): the port in view pixels.
struct PortRequest {
    bool hello = false;  // the first message of a page
    int width = 0, height = 0;
};

//! A mouse event over the view, in view pixels (origin bottom left), as
//! hostInput sends it to the current tool.
struct PointerRequest {
    enum class Kind { Press, Drag, Release, Move };
    Kind kind = Kind::Move;
    enum class Button { Left, Middle };
    Button button = Button::Left;
    double x = 0, y = 0;
    bool shift = false, ctrl = false;
};

//! ENTER, BACKSPACE or Escape for the current tool.
struct KeyRequest {
    enum class Key { Enter, Backspace, Escape };
    Key key = Key::Enter;
};

//! Ctrl+Z and Ctrl+Shift+Z.
struct UndoRequest {
    bool redo = false;
};

//! Orbit, pan and zoom: where the host's camera is to look from and to.
struct CameraRequest {
    std::array<double, 3> eye{}, lookAt{}, up{};
};

//! Any host command text, from the page's command line and controls; its
//! result goes back under the page's id.
struct CommandRequest {
    double id = 0;
    std::string text;
};

using Request = std::variant<PortRequest, PointerRequest, KeyRequest, UndoRequest, CameraRequest,
                             CommandRequest>;

//! Reads one message; false with the reason when it is refused.
bool parseRequest(const std::string& text, Request& out, std::string& why);

//! The host command text that carries out a request (none for a command
//! request: its text runs as written).
std::string commandText(const PortRequest& r);
std::string commandText(const PointerRequest& r);
std::string commandText(const KeyRequest& r);
std::string commandText(const UndoRequest& r);
std::string commandText(const CameraRequest& r);

//! A number as the shortest text that reads back to it.
std::string numberText(double value);
//! A string as a quoted string of the command language.
std::string quoted(const std::string& text);

}  // namespace tessark_studio
