#include "host/src/core/Session.h"

#include <cstdlib>

#include "host/src/command/Commands.h"
#include "host/src/core/Events.h"
#include "host/src/core/MessageLog.h"
#include "host/src/core/Preferences.h"
#include "host/src/dag/Selection.h"
#include "host/src/dg/Scene.h"
#include "host/src/nodes/Builtins.h"
#include "host/src/view/Views.h"

namespace ehost {

// ---------------------------------------------------------------- Registry

NodeClass* Registry::findClass(const std::string& typeName) const {
    for (auto& c : classes_)
        if (c->typeName == typeName) return c.get();
    return nullptr;
}

NodeClass* Registry::findClass(const MTypeId& id) const {
    if (id.id() == 0) return nullptr;
    for (auto& c : classes_)
        if (c->typeId == id) return c.get();
    return nullptr;
}

MStatus Registry::addClass(std::unique_ptr<NodeClass> cls) {
    if (findClass(cls->typeName))
        return MStatus(MStatus::kFailure,
                       "a node type named " + cls->typeName + " is already registered");
    if (findClass(cls->typeId))
        return MStatus(MStatus::kFailure, "node type id " + std::to_string(cls->typeId.id()) +
                                              " is already registered");
    classes_.push_back(std::move(cls));
    return MStatus::kSuccess;
}

MStatus Registry::removeClass(const MTypeId& id) {
    for (auto it = classes_.begin(); it != classes_.end(); ++it) {
        if ((*it)->typeId != id) continue;
        for (auto& n : session().scene().nodes())
            if (n->cls == it->get())
                return MStatus(MStatus::kFailure,
                               "node type " + (*it)->typeName + " is still used by " + n->name);
        for (auto& c : classes_)
            if (c->base == it->get())
                return MStatus(MStatus::kFailure,
                               "node type " + (*it)->typeName + " is the base of " + c->typeName);
        classes_.erase(it);
        return MStatus::kSuccess;
    }
    return MStatus(MStatus::kNotFound, "no node type with id " + std::to_string(id.id()));
}

// ---------------------------------------------------------------- Session

Session::Session()
    : registry_(std::make_unique<Registry>()),
      scene_(std::make_unique<Scene>()),
      prefs_(std::make_unique<Preferences>("")),
      selection_(std::make_unique<Selection>()),
      events_(std::make_unique<Events>()),
      messages_(std::make_unique<MessageLog>()),
      commands_(std::make_unique<Commands>()),
      views_(std::make_unique<Views>()) {}

Session::~Session() {
    commands_->undoQueue.flush();
    selection_->items.clear();
    scene_->clear();
}

void Session::newScene() {
    commands_->undoQueue.flush();
    selection_->items.clear();
    scene_->clear();
    populateNewScene(*scene_);
    views_->resetForNewScene();
}

namespace {

std::unique_ptr<Session>& current() {
    static std::unique_ptr<Session> s;
    return s;
}

}  // namespace

namespace {

void start(const std::string& prefsDir, bool isolated) {
    auto& s = current();
    if (s) return;
    s = std::make_unique<Session>();
    // Tear the session down at exit while plug-in modules are still loaded:
    // their nodes' destructors live in them.
    static bool registered = false;
    if (!registered) {
        registered = true;
        std::atexit(stopSession);
    }
    // Set up in two steps: built-in node types and the new scene need the
    // session to exist already.
    s->prefs() = Preferences(isolated ? std::string() : preferencesDir(prefsDir));
    registerBuiltinNodeTypes(s->registry());
    registerBuiltinCommands(s->commands());
    s->newScene();
}

}  // namespace

void startSession(const std::string& prefsDir) {
    start(prefsDir, false);
}
void startIsolatedSession() {
    start("", true);
}

void stopSession() {
    // Plug-in objects held by the views (contexts, draw overrides) are
    // deleted while the session still answers the calls they make.
    if (current()) current()->views().clear();
    current().reset();
}

bool sessionRunning() {
    return current() != nullptr;
}

Session& session() {
    // Code that uses the host without starting it (MLibrary::initialize or the
    // application) gets a session that leaves the user's preferences alone.
    if (!current()) startIsolatedSession();
    return *current();
}

}  // namespace ehost
