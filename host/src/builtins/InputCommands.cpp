// setToolTo, currentCtx, hostInput: the current tool and its input.

#include <cmath>
#include <sstream>

#include "host/src/builtins/Builtin.h"
#include "host/src/core/MessageLog.h"
#include "host/src/core/StatusText.h"
#include "host/src/view/Views.h"

namespace ehost {

namespace {

MSyntax nameSyntax() {
    MSyntax s;
    s.setObjectType(MSyntax::kStringObjects, 1, 1);
    return s;
}

MSyntax noSyntax() {
    return MSyntax();
}

class SetToolToCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        MStatus st = theViews().tools().setCurrent(objectNames(db)[0].str());
        if (!st) return error(statusText(st));
        return MStatus::kSuccess;
    }
};

class CurrentCtxCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase&) override {
        Tool* tool = theViews().tools().current();
        setResult(MString(tool ? tool->name : ""));
        return MStatus::kSuccess;
    }
};

// ---------------------------------------------------------------- hostInput

MSyntax hostInputSyntax() {
    MSyntax s;
    s.addFlag("-p", "-press");
    s.addFlag("-d", "-drag");
    s.addFlag("-r", "-release");
    s.addFlag("-m", "-move");
    s.addFlag("-h", "-hold");
    s.addFlag("-x", "-x", MSyntax::kDouble);
    s.addFlag("-y", "-y", MSyntax::kDouble);
    s.addFlag("-b", "-button", MSyntax::kString);
    s.addFlag("-sh", "-shift");
    s.addFlag("-ct", "-ctrl");
    s.addFlag("-k", "-key", MSyntax::kString);
    s.addFlag("-st", "-stroke", MSyntax::kString);
    s.addFlag("-ws", "-worldStroke", MSyntax::kString);
    s.addFlag("-w", "-world", MSyntax::kString);
    return s;
}

//! Numbers in a text, separated by blanks or commas; false on anything else.
bool readNumbers(const std::string& text, std::vector<double>& out) {
    std::string spaced = text;
    for (char& c : spaced)
        if (c == ',') c = ' ';
    std::istringstream in(spaced);
    std::string word;
    while (in >> word) {
        char* end = nullptr;
        double v = std::strtod(word.c_str(), &end);
        if (end != word.c_str() + word.size() || !std::isfinite(v)) return false;
        out.push_back(v);
    }
    return true;
}

struct Pixel {
    short x, y;
};

//! Drives the current tool as a person would in the active view: pointer
//! events at view pixels, keys, or whole strokes (press, drags, release).
class HostInputCommand : public BuiltinCommand {
public:
    MStatus run(const MArgDatabase& db) override {
        int actions = 0;
        for (const char* f : {"-p", "-d", "-r", "-m", "-h", "-k", "-st", "-ws"})
            actions += db.isFlagSet(f) ? 1 : 0;
        if (actions != 1)
            return error(
                "give one of -press, -drag, -release, -move, -hold, -key, -stroke, -worldStroke");
        MStatus st = readModifiers(db);
        if (!st) return st;
        if (db.isFlagSet("-k")) return key(db);
        std::vector<Pixel> pixels;
        if (db.isFlagSet("-st"))
            st = strokePixels(db, pixels);
        else if (db.isFlagSet("-ws"))
            st = worldStrokePixels(db, pixels);
        else
            st = eventPixel(db, pixels);
        if (!st) return st;
        if (db.isFlagSet("-st") || db.isFlagSet("-ws")) return stroke(pixels);
        PointerEvent::Kind kind = db.isFlagSet("-p")   ? PointerEvent::Kind::Press
                                  : db.isFlagSet("-d") ? PointerEvent::Kind::Drag
                                  : db.isFlagSet("-r") ? PointerEvent::Kind::Release
                                  : db.isFlagSet("-m") ? PointerEvent::Kind::Move
                                                       : PointerEvent::Kind::Hold;
        st = send(kind, pixels[0]);
        if (!st) return st;
        reportHandlerFailures();
        return MStatus::kSuccess;
    }

private:
    MStatus readModifiers(const MArgDatabase& db) {
        modifiers_ = 0;
        if (db.isFlagSet("-sh")) modifiers_ |= MEvent::shiftKey;
        if (db.isFlagSet("-ct")) modifiers_ |= MEvent::controlKey;
        if (!db.isFlagSet("-b")) return MStatus::kSuccess;
        MString name;
        db.getFlagArgument("-b", 0, name);
        if (name == "left")
            button_ = MEvent::kLeftMouse;
        else if (name == "middle")
            button_ = MEvent::kMiddleMouse;
        else
            return error("unknown button \"" + name.str() + "\" (left or middle)");
        return MStatus::kSuccess;
    }

    MStatus toPixel(double x, double y, Pixel& out) {
        if (!(x >= -32768 && x <= 32767 && y >= -32768 && y <= 32767))
            return error("(" + std::to_string(x) + ", " + std::to_string(y) +
                         ") is no view position");
        out = {static_cast<short>(std::lround(x)), static_cast<short>(std::lround(y))};
        return MStatus::kSuccess;
    }

    MStatus eventPixel(const MArgDatabase& db, std::vector<Pixel>& out) {
        if (db.isFlagSet("-w")) return worldPixel(db, out);
        if (!db.isFlagSet("-x") || !db.isFlagSet("-y"))
            return error("a pointer event needs -x and -y, or -world");
        double x = 0, y = 0;
        db.getFlagArgument("-x", 0, x);
        db.getFlagArgument("-y", 0, y);
        Pixel p;
        MStatus st = toPixel(x, y, p);
        if (st) out.push_back(p);
        return st;
    }

    //! The pixel of a world point in the active panel, as a person would aim at it.
    MStatus worldPixel(const MArgDatabase& db, std::vector<Pixel>& out) {
        MString text;
        db.getFlagArgument("-w", 0, text);
        std::vector<double> v;
        if (!readNumbers(text.str(), v) || v.size() != 3)
            return error("-world takes \"x y z\": one world point");
        return projectWorld(v[0], v[1], v[2], "world point", out);
    }

    MStatus projectWorld(double wx, double wy, double wz, const std::string& point,
                         std::vector<Pixel>& out) {
        Panel& panel = theViews().activePanel();
        ViewFrame frame;
        if (!panel.viewFrame(frame)) return error("panel " + panel.name + " has no camera");
        double x = 0, y = 0;
        if (!frame.project({wx, wy, wz}, x, y))
            return error(point + " is behind the camera of " + panel.name);
        if (x < 0 || y < 0 || x >= panel.width || y >= panel.height)
            return error(point + " falls outside the port of " + panel.name);
        Pixel p;
        MStatus st = toPixel(x, y, p);
        if (st) out.push_back(p);
        return st;
    }

    MStatus strokePixels(const MArgDatabase& db, std::vector<Pixel>& out) {
        MString text;
        db.getFlagArgument("-st", 0, text);
        std::vector<double> v;
        if (!readNumbers(text.str(), v) || v.size() < 2 || v.size() % 2)
            return error("-stroke takes \"x0 y0 x1 y1 ...\": pairs of view coordinates");
        const Panel& panel = theViews().activePanel();
        for (size_t i = 0; i < v.size(); i += 2) {
            Pixel p;
            MStatus st = toPixel(v[i], v[i + 1], p);
            if (!st) return st;
            // Checked before anything is sent, so that a bad stroke does not
            // leave the tool in the middle of a gesture.
            if (p.x < 0 || p.y < 0 || p.x >= panel.width || p.y >= panel.height)
                return error("stroke point " + std::to_string(i / 2) + " (" + std::to_string(p.x) +
                             ", " + std::to_string(p.y) + ") falls outside the port of " +
                             panel.name);
            out.push_back(p);
        }
        return MStatus::kSuccess;
    }

    MStatus worldStrokePixels(const MArgDatabase& db, std::vector<Pixel>& out) {
        MString text;
        db.getFlagArgument("-ws", 0, text);
        std::vector<double> v;
        if (!readNumbers(text.str(), v) || v.size() < 3 || v.size() % 3)
            return error("-worldStroke takes \"x y z ...\": world points");
        for (size_t i = 0; i < v.size(); i += 3) {
            MStatus st =
                projectWorld(v[i], v[i + 1], v[i + 2], "world point " + std::to_string(i / 3), out);
            if (!st) return st;
        }
        return MStatus::kSuccess;
    }

    MStatus send(PointerEvent::Kind kind, Pixel p) {
        PointerEvent e;
        e.kind = kind;
        e.x = p.x;
        e.y = p.y;
        e.button = button_;
        e.modifiers = modifiers_;
        MStatus handler;
        MStatus st = theViews().deliver(e, &handler);
        if (!st) return error(statusText(st));
        ++events_;
        if (!handler) {
            if (failures_++ == 0) firstFailure_ = statusText(handler);
        }
        return MStatus::kSuccess;
    }

    MStatus stroke(const std::vector<Pixel>& pixels) {
        MStatus st = send(PointerEvent::Kind::Press, pixels.front());
        for (size_t i = 1; st && i < pixels.size(); ++i)
            st = send(PointerEvent::Kind::Drag, pixels[i]);
        if (st) st = send(PointerEvent::Kind::Release, pixels.back());
        if (!st) return st;
        reportHandlerFailures();
        return MStatus::kSuccess;
    }

    MStatus key(const MArgDatabase& db) {
        MString name;
        db.getFlagArgument("-k", 0, name);
        ToolKey key;
        if (name == "enter")
            key = ToolKey::Enter;
        else if (name == "backspace")
            key = ToolKey::Backspace;
        else if (name == "escape")
            key = ToolKey::Escape;
        else
            return error("unknown key \"" + name.str() + "\" (enter, backspace or escape)");
        MStatus st = theViews().deliver(key);
        if (!st) return error(statusText(st));
        return MStatus::kSuccess;
    }

    //! A tool's handler may fail (nothing to draw on, say): the script goes
    //! on, as an artist's next gesture would.
    void reportHandlerFailures() {
        if (failures_ == 0) return;
        theMessages().warning("hostInput: the tool reported a failure for " +
                              std::to_string(failures_) + " of " + std::to_string(events_) +
                              " events (first: " + firstFailure_ + ")");
    }

    MEvent::MouseButtonType button_ = MEvent::kLeftMouse;
    unsigned int modifiers_ = 0;
    int events_ = 0, failures_ = 0;
    std::string firstFailure_;
};

void add(Commands& c) {
    addBuiltin<SetToolToCommand>(c, "setToolTo", nameSyntax);
    addBuiltin<CurrentCtxCommand>(c, "currentCtx", noSyntax);
    addBuiltin<HostInputCommand>(c, "hostInput", hostInputSyntax);
}

BuiltinRegistrar registrar(add);

}  // namespace
}  // namespace ehost
