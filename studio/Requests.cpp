#include "studio/Requests.h"

#include "host/src/session/Application.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <map>

namespace tessark_studio {

namespace {

using nlohmann::json;

//! Fields of one message, read with the reason of the first one missing or
//! of the wrong kind.
class Fields {
public:
    Fields(const json& message, std::string& why) : message_(message), why_(why) {}

    bool number(const char* name, double& out) {
        const json* v = find(name);
        if (!v) return false;
        if (!v->is_number()) return wrong(name, "a number");
        out = v->get<double>();
        if (!std::isfinite(out)) return wrong(name, "a finite number");
        return true;
    }

    bool integer(const char* name, int& out, int low, int high) {
        double v = 0;
        if (!number(name, v)) return false;
        if (v != std::floor(v) || v < low || v > high)
            return wrong(
                name, "a whole number from " + std::to_string(low) + " to " + std::to_string(high));
        out = static_cast<int>(v);
        return true;
    }

    bool text(const char* name, std::string& out) {
        const json* v = find(name);
        if (!v) return false;
        if (!v->is_string()) return wrong(name, "a string");
        out = v->get<std::string>();
        return true;
    }

    //! A flag that may be left out (false).
    bool flag(const char* name, bool& out) {
        auto it = message_.find(name);
        if (it == message_.end()) {
            out = false;
            return true;
        }
        if (!it->is_boolean()) return wrong(name, "true or false");
        out = it->get<bool>();
        return true;
    }

    bool point(const char* name, std::array<double, 3>& out) {
        const json* v = find(name);
        if (!v) return false;
        if (!v->is_array() || v->size() != 3) return wrong(name, "three numbers");
        for (size_t k = 0; k < 3; ++k) {
            const json& c = (*v)[k];
            if (!c.is_number() || !std::isfinite(c.get<double>()))
                return wrong(name, "three finite numbers");
            out[k] = c.get<double>();
        }
        return true;
    }

    template <class T>
    bool choice(const char* name, const std::map<std::string, T>& choices, T& out) {
        std::string word;
        if (!text(name, word)) return false;
        auto it = choices.find(word);
        if (it == choices.end()) {
            std::string names;
            for (const auto& [k, unused] : choices) names += (names.empty() ? "" : ", ") + k;
            return wrong(name, "one of " + names + " (not \"" + word + "\")");
        }
        out = it->second;
        return true;
    }

private:
    const json* find(const char* name) {
        auto it = message_.find(name);
        if (it != message_.end()) return &*it;
        why_ = "the message has no \"" + std::string(name) + "\"";
        return nullptr;
    }
    bool wrong(const char* name, const std::string& kind) {
        why_ = "\"" + std::string(name) + "\" must be " + kind;
        return false;
    }

    const json& message_;
    std::string& why_;
};

constexpr int kMaxPort = 8192;

bool readPort(Fields& f, bool hello, Request& out) {
    PortRequest r;
    r.hello = hello;
    if (!f.integer("width", r.width, 1, kMaxPort) || !f.integer("height", r.height, 1, kMaxPort))
        return false;
    out = r;
    return true;
}

bool readPointer(Fields& f, Request& out) {
    using P = PointerRequest;
    P r;
    static const std::map<std::string, P::Kind> kinds{{"press", P::Kind::Press},
                                                      {"drag", P::Kind::Drag},
                                                      {"release", P::Kind::Release},
                                                      {"move", P::Kind::Move}};
    static const std::map<std::string, P::Button> buttons{{"left", P::Button::Left},
                                                          {"middle", P::Button::Middle}};
    if (!f.choice("event", kinds, r.kind) || !f.choice("button", buttons, r.button) ||
        !f.number("x", r.x) || !f.number("y", r.y) || !f.flag("shift", r.shift) ||
        !f.flag("ctrl", r.ctrl))
        return false;
    out = r;
    return true;
}

bool readKey(Fields& f, Request& out) {
    using K = KeyRequest::Key;
    static const std::map<std::string, K> keys{
        {"enter", K::Enter}, {"backspace", K::Backspace}, {"escape", K::Escape}};
    KeyRequest r;
    if (!f.choice("key", keys, r.key)) return false;
    out = r;
    return true;
}

bool readCamera(Fields& f, Request& out) {
    CameraRequest r;
    if (!f.point("eye", r.eye) || !f.point("lookAt", r.lookAt) || !f.point("up", r.up))
        return false;
    out = r;
    return true;
}

bool readCommand(Fields& f, Request& out) {
    CommandRequest r;
    if (!f.number("id", r.id) || !f.text("text", r.text)) return false;
    out = r;
    return true;
}

}  // namespace

bool parseRequest(const std::string& text, Request& out, std::string& why) {
    json message = json::parse(text, nullptr, false);
    if (message.is_discarded()) {
        why = "the message is not JSON";
        return false;
    }
    if (!message.is_object()) {
        why = "the message is not a JSON object";
        return false;
    }
    Fields f(message, why);
    std::string type;
    if (!f.text("type", type)) return false;
    if (type == "hello") return readPort(f, true, out);
    if (type == "resize") return readPort(f, false, out);
    if (type == "pointer") return readPointer(f, out);
    if (type == "key") return readKey(f, out);
    if (type == "undo" || type == "redo") {
        out = UndoRequest{type == "redo"};
        return true;
    }
    if (type == "camera") return readCamera(f, out);
    if (type == "command") return readCommand(f, out);
    why = "unknown message type \"" + type + "\"";
    return false;
}

std::string numberText(double value) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

std::string quoted(const std::string& text) {
    return ehost::application::quoted(text);
}

std::string commandText(const PortRequest& r) {
    return "hostView -size " + std::to_string(r.width) + " " + std::to_string(r.height);
}

std::string commandText(const PointerRequest& r) {
    using P = PointerRequest;
    const char* kind = r.kind == P::Kind::Press     ? "-press"
                       : r.kind == P::Kind::Drag    ? "-drag"
                       : r.kind == P::Kind::Release ? "-release"
                                                    : "-move";
    std::string text = std::string("hostInput ") + kind + " -button " +
                       (r.button == P::Button::Left ? "left" : "middle") + " -x " +
                       numberText(r.x) + " -y " + numberText(r.y);
    if (r.shift) text += " -shift";
    if (r.ctrl) text += " -ctrl";
    return text;
}

std::string commandText(const KeyRequest& r) {
    using K = KeyRequest::Key;
    return std::string("hostInput -key ") + (r.key == K::Enter       ? "enter"
                                             : r.key == K::Backspace ? "backspace"
                                                                     : "escape");
}

std::string commandText(const UndoRequest& r) {
    return r.redo ? "redo" : "undo";
}

std::string commandText(const CameraRequest& r) {
    auto three = [](const std::array<double, 3>& p) {
        return numberText(p[0]) + " " + numberText(p[1]) + " " + numberText(p[2]);
    };
    return "viewPlace -eye " + three(r.eye) + " -lookAt " + three(r.lookAt) + " -up " + three(r.up);
}

}  // namespace tessark_studio
