#include "studio/StudioSession.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <iterator>
#include <set>
#include <sstream>

#include "host/src/session/Application.h"
#include "host/src/session/ViewFeed.h"
#include "studio/BlobSource.h"

namespace tessark_studio {

namespace app = ehost::application;
using nlohmann::json;

namespace {

std::string dumped(const json& j) {
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

Outgoing errorMessage(const std::string& text) {
    return {false, dumped({{"type", "error"}, {"text", text}})};
}

const char* kindName(app::Message::Kind kind) {
    switch (kind) {
        case app::Message::Kind::Info:
            return "info";
        case app::Message::Kind::Warning:
            return "warning";
        case app::Message::Kind::Error:
            return "error";
        case app::Message::Kind::Result:
            return "result";
    }
    return "info";
}

json messagesJson() {
    json out = json::array();
    for (const auto& m : app::messages())
        out.push_back({{"kind", kindName(m.kind)}, {"text", m.text}});
    return out;
}

//! The errors the host reported, one line each.
std::string errorsText() {
    std::string text;
    for (const auto& p : app::problems())
        if (p.kind == app::Problem::Kind::Error) text += (text.empty() ? "" : "\n") + p.text;
    return text;
}

std::string lowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

//! The first blank-separated word of after that is not in before.
std::string newWord(const std::string& before, const std::string& after) {
    std::istringstream had(before), has(after);
    std::set<std::string> old{std::istream_iterator<std::string>(had), {}};
    for (std::istream_iterator<std::string> it(has), end; it != end; ++it)
        if (!old.count(*it)) return *it;
    return "";
}

const char* buttonName(PointerRequest::Button b) {
    return b == PointerRequest::Button::Left ? "left" : "middle";
}

}  // namespace

bool StudioSession::run(const std::string& text, bool display) {
    app::RunOptions options;
    options.display = display;
    return app::run(text, options).ok;
}

// ---------------------------------------------------------------- set-up

namespace {

//! Runs set-up text, kept out of the undo queue: an undo never takes the
//! source or the rail node away. The result of its last command goes in result.
bool setUpStep(const std::string& text, std::string& why, std::string* result = nullptr) {
    app::clearMessages();
    app::RunOptions options;
    options.display = result != nullptr;
    options.undoable = false;
    if (!app::run(text, options).ok) {
        why = text + ": " + errorsText();
        return false;
    }
    if (result) {
        result->clear();
        for (const auto& m : app::messages())
            if (m.kind == app::Message::Kind::Result) *result = m.text;
    }
    return true;
}

}  // namespace

bool StudioSession::setUp(const StudioSetup& setup, std::string& why) {
    context_ = setup.context;
    if (!setUpStep("loadPlugin Tessark_2020; loadPlugin Vintrel_2020", why)) return false;
    const std::string ext = lowerExtension(setup.source);
    const bool mesh = setup.source.empty() || ext == ".obj" || ext == ".off";
    if (!(mesh ? setUpSource(setup, why) : setUpScene(setup, why))) return false;
    // The view: the port the page will show, the Vintrel overlay, the tool.
    if (!setUpStep("hostView -size " + std::to_string(setup.width) + " " +
                       std::to_string(setup.height) +
                       "; modelEditor -e -rendererOverrideName PlexwendViewport modelPanel4",
                   why))
        return false;
    if (!setUpStep("TessarkContext " + context_ + "; setToolTo " + context_, why)) return false;
    app::clearMessages();
    return true;
}

bool StudioSession::setUpSource(const StudioSetup& setup, std::string& why) {
    std::string file = setup.source;
    if (file.empty()) {
        file = (std::filesystem::path(setup.scratchDir) / "source.obj").string();
        if (!writeBlobObj(file, BlobSize(), why)) return false;
    }
    // The mesh shape the import brings is the one that was not there before.
    std::string before, after;
    if (!setUpStep("ls -type mesh", why, &before)) return false;
    const bool imported = setUpStep("file -import " + tessark_studio::quoted(file), why, &source_);
    if (setup.source.empty()) {
        std::error_code ec;
        std::filesystem::remove(file, ec);
    }
    if (!imported || !setUpStep("ls -type mesh", why, &after)) return false;
    const std::string shape = newWord(before, after);
    if (shape.empty()) {
        why = setup.source + ": the file holds no mesh";
        return false;
    }
    if (!setUpStep("createNode Tessark -n rail", why, &rail_)) return false;
    return setUpStep("connectAttr " + shape + ".outMesh " + rail_ +
                         ".TessarkMesh; select -cl; viewPlace -eye 0 0 40 -lookAt 0 0 0 -up 0 1 "
                         "0 persp; viewFit -f 1.4 " +
                         source_,
                     why);
}

bool StudioSession::setUpScene(const StudioSetup& setup, std::string& why) {
    if (!setUpStep("file -open -force " + tessark_studio::quoted(setup.source), why)) return false;
    sceneFile_ = setup.source;
    if (!setUpStep("ls -type Tessark", why, &rail_)) return false;
    if (rail_.empty()) {
        why = setup.source + ": the scene has no Tessark rail node";
        return false;
    }
    rail_ = rail_.substr(0, rail_.find(' '));
    return setUpStep("viewFit -all", why);
}

// ---------------------------------------------------------------- the page

void StudioSession::pageOpened() {
    diff_.reset();
    frameWanted_ = true;
}

void StudioSession::pageClosed() {
    if (held_) {
        PointerRequest release = held_->last;
        release.kind = PointerRequest::Kind::Release;
        held_.reset();
        app::clearMessages();
        run(commandText(release), false);
        app::clearMessages();
    }
    frameWanted_ = true;
}

std::vector<Outgoing> StudioSession::reported() {
    if (app::messages().empty()) return {};
    return {{false, dumped({{"type", "messages"}, {"messages", messagesJson()}})}};
}

std::vector<Outgoing> StudioSession::handle(const std::string& message) {
    Request request;
    std::string why;
    if (!parseRequest(message, request, why)) return {errorMessage("refused a message: " + why)};
    if (held_ && !std::holds_alternative<PointerRequest>(request))
        return {errorMessage(std::string("refused a message: the ") + buttonName(held_->button) +
                             " button is down (finish the drag first)")};
    app::clearMessages();
    std::vector<Outgoing> out;
    if (auto* port = std::get_if<PortRequest>(&request)) {
        run(commandText(*port), false);
        if (port->hello) {
            out.push_back({false, dumped({{"type", "welcome"},
                                          {"source", source_},
                                          {"rail", rail_},
                                          {"context", context_},
                                          {"sceneFile", sceneFile_}})});
        }
    } else if (auto* pointer = std::get_if<PointerRequest>(&request)) {
        return this->pointer(*pointer);
    } else if (auto* key = std::get_if<KeyRequest>(&request)) {
        run(commandText(*key), false);
    } else if (auto* undo = std::get_if<UndoRequest>(&request)) {
        run(commandText(*undo), true);
    } else if (auto* camera = std::get_if<CameraRequest>(&request)) {
        run(commandText(*camera), false);
    } else if (auto* cmd = std::get_if<CommandRequest>(&request)) {
        return command(*cmd);
    }
    frameWanted_ = true;
    for (auto& r : reported()) out.push_back(std::move(r));
    return out;
}

std::vector<Outgoing> StudioSession::pointer(const PointerRequest& r) {
    using K = PointerRequest::Kind;
    if (r.kind == K::Press && held_)
        return {errorMessage(std::string("refused a press: the ") + buttonName(held_->button) +
                             " button is down already")};
    if ((r.kind == K::Drag || r.kind == K::Release) && (!held_ || held_->button != r.button))
        return {errorMessage(std::string("refused a ") + (r.kind == K::Drag ? "drag" : "release") +
                             ": the " + buttonName(r.button) + " button is not down")};
    const bool ok = run(commandText(r), false);
    if (r.kind == K::Press && ok) held_ = Held{r.button, r};
    if (r.kind == K::Drag && ok) held_->last = r;
    // A release that the host refused (outside the view) still ends the
    // gesture, where the pointer last was inside it.
    if (r.kind == K::Release && !ok) {
        PointerRequest release = held_->last;
        release.kind = K::Release;
        run(commandText(release), false);
    }
    if (r.kind == K::Release) held_.reset();
    frameWanted_ = true;
    return reported();
}

std::vector<Outgoing> StudioSession::command(const CommandRequest& r) {
    const bool ok = run(r.text, true);
    frameWanted_ = true;
    return {{false,
             dumped({{"type", "result"}, {"id", r.id}, {"ok", ok}, {"messages", messagesJson()}})}};
}

std::vector<Outgoing> StudioSession::frame() {
    frameWanted_ = false;
    app::clearMessages();
    app::DrawnFrame drawn;
    std::string why;
    if (!app::drawActivePanel(drawn, why)) return {errorMessage("cannot draw the view: " + why)};
    std::vector<Outgoing> out =
        diff_.update(drawn, [](const std::string& path, app::MeshGeometryRecord& geometry) {
            std::string unused;
            return app::shadedMeshGeometry(path, geometry, unused);
        });
    // What the draw itself reported (a draw override that failed) is shown too.
    for (auto& r : reported()) out.push_back(std::move(r));
    return out;
}

}  // namespace tessark_studio
