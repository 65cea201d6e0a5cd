#include "host/src/session/Session.h"

#include <cstdlib>

#include "host/src/builtins/Builtin.h"
#include "host/src/dag/Dag.h"
#include "host/src/nodes/Builtins.h"
#include "host/src/plugin/Plugins.h"

namespace ehost {

Session::Session()
    : registry_(std::make_unique<Registry>()),
      scene_(std::make_unique<Scene>(makeWorld())),
      prefs_(std::make_unique<Preferences>("")),
      selection_(std::make_unique<Selection>()),
      events_(std::make_unique<Events>()),
      messages_(std::make_unique<MessageLog>()),
      commands_(std::make_unique<Commands>()),
      views_(std::make_unique<Views>()),
      plugins_(std::make_unique<Plugins>()) {}

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

//! Plug-in objects the views hold (contexts, draw overrides) are deleted
//! while the session still answers the calls they make.
void endSession() {
    if (current()) current()->views().clear();
    current().reset();
}

void start(const std::string& prefsDir, bool isolated) {
    auto& s = current();
    if (s) return;
    s = std::make_unique<Session>();
    // Tear the session down at exit while plug-in modules are still loaded:
    // their nodes' destructors live in them. The plug-ins stay initialized
    // then: a module opened after this registration has destroyed its own
    // statics already, so its uninitializePlugin can no longer run safely.
    static bool registered = false;
    if (!registered) {
        registered = true;
        std::atexit(endSession);
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
    if (Session* s = current().get()) {
        // As the host quits: the scene goes, then every plug-in is
        // uninitialized, the last loaded first, so that each frees what it
        // keeps until then (Vintrel's render override) while the session still
        // answers its calls; a new session loads them afresh.
        s->commands().undoQueue.flush();
        s->selection().items.clear();
        s->scene().clear();
        for (const std::string& failure : unloadAllPlugins()) s->messages().error(failure);
    }
    endSession();
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

// ---------------------------------------------------------------- the floors' accessors

Scene& theScene() {
    return session().scene();
}
Registry& theRegistry() {
    return session().registry();
}
Preferences& thePrefs() {
    return session().prefs();
}
Selection& theSelection() {
    return session().selection();
}
Events& theEvents() {
    return session().events();
}
MessageLog& theMessages() {
    return session().messages();
}
Commands& theCommands() {
    return session().commands();
}
Views& theViews() {
    return session().views();
}
Plugins& thePlugins() {
    return session().plugins();
}
void startNewScene() {
    session().newScene();
}

}  // namespace ehost
